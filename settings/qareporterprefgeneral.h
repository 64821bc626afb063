#ifndef QAREPORTERPREFGENERAL_H
#define QAREPORTERPREFGENERAL_H

#include "preferenceitem.h"

#include <QColor>
#include <QPointer>

class QAColorButton;
class QAStudioInterface;
class QCheckBox;
class QSpinBox;

// The "Report Viewer" preferences page: background of the report view,
// whether the view raises itself when the tree selection moves it, and the
// depth to which report trees open.
class QAReporterPrefGeneral : public PreferenceItem
{
    Q_OBJECT
public:
    // `studio` decides whether the auto-raise choice is offered: only a
    // host with a main window has a window to raise.
    QAReporterPrefGeneral(const QString& title, const QString& tag, const QString& helpTag,
                          QAStudioInterface* studio);

    QColor background() const { return m_background; }
    void setBackground(const QColor& color) { m_background = color; }
    bool autoRaise() const { return m_autoRaise; }
    void setAutoRaise(bool on) { m_autoRaise = on; }
    int depth() const { return m_depth; }
    void setDepth(int depth) { m_depth = depth; }

    static QColor defaultBackground();
    static constexpr bool defaultAutoRaise = true;
    static constexpr int defaultDepth = 4;
    static constexpr int minimumDepth = 1;
    static constexpr int maximumDepth = 6;

    QWidget* createWidget(QWidget* parent) override;
    void updateContents() override;
    void apply() override;
    void defaults() override;

private:
    QAStudioInterface* m_studio;
    QColor m_background;
    QPointer<QAColorButton> m_colorButton;
    bool m_autoRaise = defaultAutoRaise;
    QPointer<QCheckBox> m_autoRaiseBox;
    QPointer<QSpinBox> m_depthBox;
    int m_depth = defaultDepth;
};

#endif
