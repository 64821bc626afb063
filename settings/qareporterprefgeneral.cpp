#include "qareporterprefgeneral.h"

#include "qacolorbutton.h"
#include "qastudiointerface.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QSpinBox>
#include <QVBoxLayout>

QAReporterPrefGeneral::QAReporterPrefGeneral(const QString& title, const QString& tag,
                                             const QString& helpTag, QAStudioInterface* studio)
    : PreferenceItem(title, tag, helpTag), m_studio(studio), m_background(defaultBackground())
{
}

QColor QAReporterPrefGeneral::defaultBackground()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

QWidget* QAReporterPrefGeneral::createWidget(QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 10, 10, 10);

    auto* viewer = new QGroupBox(tr("Viewer"), box);
    auto* grid = new QGridLayout(viewer);
    grid->addWidget(new QLabel(tr("Background color"), viewer), 0, 0);
    m_colorButton = new QAColorButton(viewer);
    m_colorButton->setFixedSize(m_colorButton->sizeHint());
    grid->addWidget(m_colorButton, 0, 1, Qt::AlignLeft);
    m_autoRaiseBox = new QCheckBox(
        tr("Automatic raise viewer on tree selection changed", "Check Box Name"), viewer);
    // Only a host with a main window has a report view that can be raised.
    m_autoRaiseBox->setEnabled(m_studio && m_studio->mainWindow());
    grid->addWidget(m_autoRaiseBox, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(viewer);

    auto* depthGroup = new QGroupBox(tr("Report Contents Depth Open"), box);
    depthGroup->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Maximum);
    auto* depthLayout = new QHBoxLayout(depthGroup);
    m_depthBox = new QSpinBox(depthGroup);
    m_depthBox->setRange(minimumDepth, maximumDepth);
    m_depthBox->setSingleStep(1);
    m_depthBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    m_depthBox->setMinimumWidth(m_depthBox->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6);
    depthLayout->addWidget(m_depthBox);
    depthLayout->addStretch();
    layout->addWidget(depthGroup);
    layout->addStretch();
    return box;
}

void QAReporterPrefGeneral::updateContents()
{
    if (m_colorButton)
        m_colorButton->setColor(m_background, false);
    if (m_autoRaiseBox)
        m_autoRaiseBox->setChecked(m_autoRaise);
    if (m_depthBox)
        m_depthBox->setValue(m_depth);
}

void QAReporterPrefGeneral::apply()
{
    if (m_colorButton)
        m_background = m_colorButton->color();
    if (m_autoRaiseBox)
        m_autoRaise = m_autoRaiseBox->checkState() != Qt::Unchecked;
    if (m_depthBox)
        m_depth = m_depthBox->value();
}

void QAReporterPrefGeneral::defaults()
{
    m_background = defaultBackground();
    m_autoRaise = defaultAutoRaise;
    m_depth = defaultDepth;
}
