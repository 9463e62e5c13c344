// What a window asks of its view. The view owns the window's widgets (its
// frame, the menu bar and the client area below it) and the event loops
// that run for it; the window keeps its rules and states and asks for
// these operations. The Qt layer makes the view (VueFenetre_QT.cpp).
// Every operation on the frame does nothing once the frame is gone.
#pragma once
#include "base/CTString.h"
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>

class CFenPrincipale;

class IVueFenetre {
public:
    // Leaving, the view stops the frame's events from reaching the window.
    virtual ~IVueFenetre() = default;
    // The view the Qt layer makes (null without one).
    static std::unique_ptr<IVueFenetre> pclCree(CFenPrincipale& f);
    static std::unique_ptr<IVueFenetre> (*s_pfnCree)(CFenPrincipale& f);

    // Making the frame: under the parent window's, with its title and its
    // background colour (none when the colour is undefined: high byte set).
    // The window owns the frame from then on (SetWidget).
    virtual void CreeFenetre(const CTString& sTitre, uint32_t nCouleurFond) = 0;
    // The main menu as a bar above a client area that holds the controls,
    // the client area at least tClient; false when the menu has no option
    // (the frame holds the controls itself).
    virtual bool bCreeBarreMenu(const QSize& tClient) = 0;
    virtual int nHauteurBarreMenu() const = 0;
    // The frame's size and limits at the opening; a fixed frame does not
    // give its layout room to grow.
    virtual void AppliqueTailles(const QSize& t, const QSize& tMin, const QSize& tMax, bool bFixe) = 0;
    // The frame exists (and is the dialog the window made).
    virtual bool bAFenetre() const = 0;

    // Geometry: position with the frame (pos(), and x() and y()), size
    // without it.
    virtual QPoint ptPosition() const = 0;
    virtual int nX() const = 0;
    virtual int nY() const = 0;
    virtual QSize taille() const = 0;
    virtual void Deplace(const QPoint& p) = 0;
    virtual void Redimensionne(const QSize& t) = 0;
    virtual void SetLargeurMin(int n) = 0;
    virtual void SetHauteurMin(int n) = 0;
    virtual void SetLargeurMax(int n) = 0;
    virtual void SetHauteurMax(int n) = 0;
    virtual void SetTitre(const CTString& s) = 0;
    // The background image of the client area (behind the controls), from
    // an image file: eIMAGE_FOND_* says how it covers the area. An empty
    // path, or a file that holds no image, removes it.
    enum eIMAGE_FOND : int { eIMAGE_FOND_NORMAL = 0, eIMAGE_FOND_MOSAIQUE = 1, eIMAGE_FOND_ETIRE = 2, eIMAGE_FOND_CENTRE = 3 };
    virtual void AfficheImageFond(const CTString& sChemin, int eMode) = 0;

    // Showing. SetVisible is the frame's own (hiding the dialog ends a
    // modal loop that runs for it); SetMontree shows or hides it as a
    // plain widget, which leaves such a loop running.
    virtual void Montre() = 0;
    virtual bool bEstVisible() const = 0;
    virtual bool bEstCachee() const = 0;
    virtual void SetVisible(bool b) = 0;
    virtual void SetMontree(bool b) = 0;
    virtual void SetGrisee(bool b) = 0;
    // In front, and the active window.
    virtual void PremierPlan() = 0;

    // The frame's timers: an identifier, 0 when none was started.
    virtual int nDemarreTimer(int nMs) = 0;
    virtual void ArreteTimer(int nId) = 0;

    // Closing: asks the frame to close (its close request runs the
    // window's closing rules); true when it closed.
    virtual bool bFerme() = 0;
    // The window lets its closed frame go: Qt deletes it once done with it.
    virtual void Libere() = 0;

    // Loops. The frame's window flags again, as at its making.
    virtual void RetablitDrapeaux() = 0;
    // Shows the frame modal and runs a loop until TermineBoucleModale;
    // bAttendre, asked once the frame is shown, says whether to run it.
    virtual void ExecBoucleModale(const std::function<bool()>& bAttendre) = 0;
    virtual void TermineBoucleModale() = 0;
    // Shows the frame and runs the application's loop, which
    // TermineBouclePrincipale ends.
    virtual void ExecBouclePrincipale() = 0;
    virtual void TermineBouclePrincipale() = 0;
};
