#include "app/ProgressBar.h"
#include "widgets/FormFont.h"
#include "widgets/WindowPlacement.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

TpBar::TpBar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pBar"));
    setWindowTitle(tr("Progress"));
    // A dialog frame without border icons: reading cannot be interrupted.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setFont(vorrel::formFont(8));
    setFixedSize(300, 64);
    setCursor(Qt::WaitCursor);

    stat = new QLabel(this);
    stat->setObjectName(QStringLiteral("stat"));
    stat->setFont(vorrel::formFont(9));
    stat->setGeometry(8, 8, 284, 18);

    pb1 = new QProgressBar(this);
    pb1->setObjectName(QStringLiteral("pb1"));
    pb1->setGeometry(8, 32, 284, 18);
    pb1->setRange(0, 100);
    pb1->setValue(0);
    pb1->setTextVisible(false);
}

void TpBar::setStatus(const QString &text)
{
    stat->setText(text);
    if (isVisible())
        stat->repaint();
}

void TpBar::setPosition(int value)
{
    pb1->setValue(std::clamp(value, pb1->minimum(), pb1->maximum()));
    // Painting the bar costs more than reading thousands of categories.
    constexpr qint64 kRepaintMs = 40;
    if (isVisible() && (!m_barPainted.isValid() || m_barPainted.elapsed() >= kRepaintMs)) {
        pb1->repaint();
        m_barPainted.start();
    }
}

void TpBar::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    vorrel::centreOnScreen(this);
}
