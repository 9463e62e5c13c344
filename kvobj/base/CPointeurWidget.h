// A widget that a model names but never uses: the pointer follows the
// widget's life (null once Qt has destroyed it) without the widget's type,
// which only the Qt layer knows. The Qt layer hands the widget over with
// the same object seen as a QObject (PointeurWidget_QT.h).
#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

class CPointeurWidget {
public:
    QWidget* data() const { return m_pObjet.isNull() ? nullptr : m_pWidget; }
    QObject* pObjet() const { return m_pObjet.data(); }
    explicit operator bool() const { return data() != nullptr; }
    void Set(QWidget* pWidget, QObject* pObjet) {
        m_pWidget = pObjet ? pWidget : nullptr;
        m_pObjet = pObjet;
    }
    void Vide() { Set(nullptr, nullptr); }

private:
    QPointer<QObject> m_pObjet;
    QWidget* m_pWidget = nullptr;
};
