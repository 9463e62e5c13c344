#include "controls/core/CConteneurChamp.h"
#include "base/Texte.h"
#include "controls/core/CChamp.h"
#include "controls/core/Famille.h"
#include "frame/ModuleInfo.h"
#include "windows/CFenPrincipale.h"
#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
// Kind 50 (an option) in a window's own control list is read as kind 70.
constexpr int nID_OPTION_DE_FENETRE = 70;
// A control kind never read from a description on this platform.
constexpr int nID_JAMAIS_LU = 93;

QString Cle(const wchar_t* psz) { return QString::fromWCharArray(psz).toUpper(); }
std::atomic<int> gnCompteurAuto{0};
} // namespace

CConteneurChamp::~CConteneurChamp() {
    std::vector<CChamp*> tab;
    tab.swap(m_tabChamps);
    for (CChamp* c : tab) {
        c->SetDetruit();
        c->SetConteneur(nullptr);
        c->nRelease();
    }
}

bool CConteneurChamp::sbEstIDChampSupportePlatforme(int n) {
    if (n < 0 || n >= NB_ID_OBJET) return false;
    // Internal windows are made by their own path.
    if (n == ID_FENETRE_INTERNE || n == ID_FENETRE_INTERNE_2 || n == nID_JAMAIS_LU) return false;
    // Declared: the application context, or a kind one of the families has.
    return n == ID_EXE || pFamilleDuGenre(n) != nullptr;
}

// ---------------------------------------------------------------- reading

void CConteneurChamp::xDeserialise(CKVBuffer& b, bool bIgnoreErreurs) {
    CLecteurKV ar(b, m_pclFenetre ? m_pclFenetre->vdwGetCodePageDeserial() : CP_1252);
    xDeserialise(ar, bIgnoreErreurs);
}

void CConteneurChamp::xDeserialise(CLecteurKV& ar, bool bIgnoreErreurs) {
    CKVBuffer& b = ar.Buffer();
    const size_t nDebutListe = b.nGetPosition();
    uint32_t nMot, nNb;
    b >> nMot;
    if (nMot == nMARQUEUR_LISTE_CHAMPS) {
        b >> m_nVersionListe >> nNb;
    } else {
        nNb = nMot;
        m_nVersionListe = 1700;
    }
    std::vector<CChamp*> tab;
    tab.swap(m_tabChamps);
    for (CChamp* c : tab) {
        c->SetDetruit();
        c->SetConteneur(nullptr);
        c->nRelease();
    }
    m_tabNomsDirects.clear();
    m_tabNomsTous.clear();
    // A lying count must not reserve memory: the tables grow only for the
    // controls that are really there.
    if (nNb >= 32 && nNb <= b.nGetRestant()) {
        m_tabNomsTous.reserve(static_cast<qsizetype>(2 * nNb + 1));
        m_tabNomsDirects.reserve(static_cast<qsizetype>(nNb));
    }
    const bool bTrace = ar.pGetTrace() != nullptr;
    if (bTrace) {
        ar.Trace(nDebutListe, "ControlList",
                 L"{ version " + std::to_wstring(m_nVersionListe) + L", " + std::to_wstring(nNb) + L" controls");
        ++ar.nProfondeur();
    }

    int nFlags = eDESER_IGNORE_NON_SUPPORTE | eDESER_DANS_LISTE | (bIgnoreErreurs ? eDESER_IGNORE_ERREUR : 0);
    bool bSaute = false;
    for (uint32_t i = 0; i < nNb; ++i) {
        size_t nDebut = b.nGetPosition();
        uint32_t nTaille = 0;
        if (m_nVersionListe > 1700) {
            b >> nTaille;
            if (nTaille != 0 && (nTaille < 4 || nDebut + nTaille > b.nGetLimite()))
                xThrowErreur(10011, static_cast<unsigned long long>(nDebut + nTaille),
                             static_cast<unsigned long long>(b.nGetLimite()));
        }
        // Without a declared size, a control that is not read cannot be
        // stepped over: the bytes after it would be read as the next one.
        const int nFlagsChamp = nTaille ? nFlags : (nFlags & ~(eDESER_IGNORE_ERREUR | eDESER_IGNORE_NON_SUPPORTE));
        STTraceChamp trace{bTrace, i + 1, nDebut, nTaille};
        CChamp* c = xpclDeserialiseUnChamp(ar, nFlagsChamp, 0, bTrace ? &trace : nullptr);
        if (!c) bSaute = true;
        if (nTaille != 0) {
            size_t nLu = b.nGetPosition() - nDebut;
            if (nLu < nTaille || !c) {
                if (bTrace)
                    ar.Trace(b.nGetPosition(), c ? "(unread)" : "(record)",
                             (c ? L"" : L"kind not read by this module: ") + std::to_wstring(nDebut + nTaille - b.nGetPosition()) +
                                 L" bytes skipped");
                b.xSeekLecture(nDebut + nTaille);
            } else if (nLu > nTaille) {
                b.SeekNoResize(static_cast<int64_t>(nDebut + nTaille), 0);
                xThrowErreur(10011, static_cast<unsigned long long>(nLu), static_cast<unsigned long long>(nTaille));
            }
        }
        if (bTrace) {
            --ar.nProfondeur();
            ar.Trace(b.nGetPosition(), "control", L"} " + std::to_wstring(b.nGetPosition() - nDebut) + L" bytes read");
        }
    }
    if (bTrace) {
        --ar.nProfondeur();
        ar.Trace(b.nGetPosition(), "ControlList", L"} " + std::to_wstring(b.nGetPosition() - nDebutListe) + L" bytes read");
    }
    if (bSaute) {
        RepareZOrder();
        CompacteTabOrder();
    }
    RepareTabOrder();
    vApresChargement();
}

CChamp* CConteneurChamp::xpclDeserialiseUnChamp(CLecteurKV& ar, int nFlags, int nZOrder, const STTraceChamp* pTrace) {
    int32_t nID;
    ar.Buffer() >> nID;
    if (nID == ID_OPTION && !pclGetChampProprietaire()) nID = nID_OPTION_DE_FENETRE;
    if (pTrace) {
        const char* pszCle = pszCleGenre(nID);
        ar.Trace(pTrace->nDebut, "control",
                 L"{ " + std::to_wstring(pTrace->nNumero) + L": kind " + std::to_wstring(nID) +
                     (*pszCle ? L" (" + std::wstring(pszCle, pszCle + std::strlen(pszCle)) + L")" : std::wstring()) +
                     (pTrace->nTaille ? L", declared size " + std::to_wstring(pTrace->nTaille) : std::wstring()));
        ++ar.nProfondeur();
    } else if (ar.pGetTrace()) {
        ar.Trace(ar.Buffer().nGetPosition() - 4, "kind", std::to_wstring(nID));
    }
    if (!sbEstIDChampSupportePlatforme(nID)) {
        if (nFlags & eDESER_IGNORE_NON_SUPPORTE) return nullptr;
        xThrowErreur(10012, nID);
    }
    if (!bEstGenreChamp(nID)) {
        if (nFlags & eDESER_IGNORE_ERREUR) return nullptr;
        xThrowErreur(10012, nID);
    }
    auto* c = xpclCreeChamp(nID);
    c->SetTabOrder(-2);
    c->SetZOrder(-2);
    AddChamp(c);
    size_t nProfondeur = ar.Buffer().nGetProfondeurLimites();
    try {
        c->_Deserialize(ar);
        if (c->nGetTabOrder() == -1 && !(nFlags & eDESER_DANS_LISTE)) AddToTabOrder(c);
        if (nFlags & eDESER_FORCE_ZORDER) c->SetZOrder(nZOrder);
        if (c->nGetZOrder() > nGetNbChamp()) c->SetZOrder(0);
        if (!(nFlags & eDESER_SANS_NOM)) EnregistreNom(c);
    } catch (const CXError&) {
        ar.Buffer().RestaureProfondeurLimites(nProfondeur);
        if (nFlags & eDESER_IGNORE_ERREUR) {
            c->nRelease();
            DelChampRecursif(c);
            return nullptr;
        }
        c->nRelease();
        throw;
    }
    c->nRelease();  // the factory's reference; the container keeps its own
    return c;
}

void CConteneurChamp::Serialise(CKVBuffer& b) {
    b << nMARQUEUR_LISTE_CHAMPS << uint32_t(1701) << static_cast<uint32_t>(m_tabChamps.size());
    CEcrivainKV ar(b);
    for (CChamp* c : m_tabChamps) {
        size_t nDebut = b.nGetPosition();
        b << uint32_t(0);
        b << static_cast<int32_t>(c->dwGetId());
        c->_Serialize(ar);
        b.PatchU32(nDebut, static_cast<uint32_t>(b.nGetPosition() - nDebut));
    }
}

// ---------------------------------------------------------------- controls

void CConteneurChamp::AddChamp(CChamp* c) {
    c->AddRef();
    c->SetConteneur(this);
    if (m_pclFenetre) c->SetFenetrePrincipale(m_pclFenetre);
    if (CChamp* p = pclGetChampProprietaire()) c->vSetChampParent(p);
    m_tabChamps.push_back(c);
}

void CConteneurChamp::DelChamp(CChamp* c) {
    auto it = std::find(m_tabChamps.begin(), m_tabChamps.end(), c);
    if (it == m_tabChamps.end()) return;
    RemoveFromTabOrder(c);
    OublieNom(c);
    m_tabChamps.erase(it);
    c->SetDetruit();
    c->vTermSurOnDestroy();
    c->SetConteneur(nullptr);
    c->nRelease();
}

void CConteneurChamp::DelChampRecursif(CChamp* c) { DelChamp(c); }

CChamp* CConteneurChamp::pclGetChampFromName(const wchar_t* pszNom, bool bRecursif) const {
    if (!pszNom || !*pszNom) return nullptr;
    const auto& t = bRecursif ? m_tabNomsTous : m_tabNomsDirects;
    return t.value(Cle(pszNom), nullptr);
}

void CConteneurChamp::EnregistreNom(CChamp* c) {
    if (c->sGetNom().empty()) return;
    QString k = Cle(c->pszGetName());
    m_tabNomsDirects.insert(k, c);
    m_tabNomsTous.insert(k, c);
    // The containers above know every descendant by name too.
    for (CChamp* p = pclGetChampProprietaire(); p && p->pclGetConteneur(); p = p->pclGetConteneur()->pclGetChampProprietaire())
        p->pclGetConteneur()->m_tabNomsTous.insert(k, c);
}

void CConteneurChamp::OublieNom(CChamp* c) {
    QString k = Cle(c->pszGetName());
    if (m_tabNomsDirects.value(k) == c) m_tabNomsDirects.remove(k);
    if (m_tabNomsTous.value(k) == c) m_tabNomsTous.remove(k);
}

size_t CConteneurChamp::nGetTailleTableNoms(bool bRecursive) const {
    return static_cast<size_t>(bRecursive ? m_tabNomsTous.capacity() : m_tabNomsDirects.capacity());
}

void CConteneurChamp::ChampGetListeTousLesChampsFils(std::vector<CChamp*>& tab) const {
    tab.clear();
    for (auto it = m_tabNomsTous.begin(); it != m_tabNomsTous.end(); ++it) tab.push_back(it.value());
}

// ---------------------------------------------------------------- tab order

int CConteneurChamp::nGetTabOrderMax() const {
    int n = -1;
    for (CChamp* c : m_tabChamps)
        if (c->bGetTabStop()) n = std::max(n, c->nGetTabOrder());
    return n;
}

void CConteneurChamp::AddToTabOrder(CChamp* c) {
    if (!c->bGetTabStop() || c->nGetTabOrder() == -2) return;
    int n = c->nGetTabOrder();
    if (n == -1) {
        int nMax = -1;
        for (CChamp* x : m_tabChamps)
            if (x != c && x->bGetTabStop()) nMax = std::max(nMax, x->nGetTabOrder());
        c->SetTabOrder(nMax + 1);
        return;
    }
    for (CChamp* x : m_tabChamps)
        if (x->bGetTabStop() && x->nGetTabOrder() >= n) x->SetTabOrder(x->nGetTabOrder() + 1);
}

void CConteneurChamp::RemoveFromTabOrder(CChamp* c) {
    int n = c->nGetTabOrder();
    if (n < 0) return;
    for (CChamp* x : m_tabChamps)
        if (x != c && x->bGetTabStop() && x->nGetTabOrder() > n) x->SetTabOrder(x->nGetTabOrder() - 1);
    c->SetTabOrder(-1);
}

void CConteneurChamp::RepareTabOrder() {
    for (CChamp* c : m_tabChamps)
        if (c->bGetTabStop() && c->nGetTabOrder() == -1) AddToTabOrder(c);
}

void CConteneurChamp::CompacteTabOrder() {
    auto tab = vpclEnumereChamp_ParTabOrder();
    for (size_t i = 0; i < tab.size(); ++i) tab[i]->SetTabOrder(static_cast<int>(i));
}

void CConteneurChamp::RepareZOrder() {
    std::vector<CChamp*> tab = m_tabChamps;
    std::stable_sort(tab.begin(), tab.end(), [](CChamp* a, CChamp* b) { return a->nGetZOrder() < b->nGetZOrder(); });
    for (size_t i = 0; i < tab.size(); ++i) tab[i]->SetZOrder(static_cast<int>(i));
}

std::vector<CChamp*> CConteneurChamp::vpclEnumereChamp_ParTabOrder() const {
    std::vector<CChamp*> tab;
    for (CChamp* c : m_tabChamps)
        if (c->bGetTabStop() && c->nGetTabOrder() >= 0) tab.push_back(c);
    std::stable_sort(tab.begin(), tab.end(), [](CChamp* a, CChamp* b) { return a->nGetTabOrder() < b->nGetTabOrder(); });
    return tab;
}

std::vector<CChamp*> CConteneurChamp::vpclEnumereChamp_ParZOrder() const {
    std::vector<CChamp*> tab = m_tabChamps;
    std::stable_sort(tab.begin(), tab.end(), [](CChamp* a, CChamp* b) { return a->nGetZOrder() < b->nGetZOrder(); });
    return tab;
}

CChamp* CConteneurChamp::pclGetChamp_ParTabOrder(int n) const {
    auto tab = vpclEnumereChamp_ParTabOrder();
    return n >= 0 && n < static_cast<int>(tab.size()) ? tab[n] : nullptr;
}

CChamp* CConteneurChamp::pclGetChampFromZOrder(int n) const {
    for (CChamp* c : m_tabChamps)
        if (c->nGetZOrder() == n) return c;
    return nullptr;
}

// ---------------------------------------------------------------- run time

CChamp* CConteneurChamp::pclCreeunChampExec(int nIDObjet, const wchar_t* pszNom, int x, int y, int l, int h, bool bVisible) {
    auto* c = xpclCreeChamp(nIDObjet);
    CTString sNom = pszNom ? pszNom : L"";
    if (sNom.empty()) {
        do {
            sNom = kvtexte::Format(L"_AUTO_%d", ++gnCompteurAuto);
        } while (pclGetChampFromName(sNom.c_str(), false));
    }
    c->SetName(sNom.c_str());
    c->GenerateNewID();
    c->SetFlag(1, FLAG1_SANS_IDENTITE, true);
    c->SetRectInitial(QRect(x, y, l, h));
    c->SetVisibleInitial(bVisible);
    c->SetVisible(bVisible);
    c->SetZOrder(nGetNbChamp());
    AddChamp(c);
    c->nRelease();
    EnregistreNom(c);
    if (m_pclFenetre && m_pclFenetre->pGetWidget()) c->InitSurOnCreate(m_pclFenetre->pGetWidget());
    return c;
}
