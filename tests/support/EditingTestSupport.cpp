#include "EditingTestSupport.h"

#include "app/AppInfo.h"
#include "app/Main.h"
#include "document/CategoryTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace editingtest {

namespace {
const QString kWaitName = QStringLiteral("editingtest-modal-wait");
} // namespace

void onModal(const QString &name, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName(kWaitName);
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, name, action = std::move(action)] {
        QWidget *modal = qApp->activeModalWidget();
        if (modal && modal->objectName() == name) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (++*ticks > 500) {
            timer->stop();
            timer->deleteLater();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        }
    });
    timer->start();
}

void cancelModalWaits()
{
    const auto timers = qApp->findChildren<QTimer *>(kWaitName, Qt::FindDirectChildrenOnly);
    for (QTimer *timer : timers)
        delete timer;
}

void pressOnModal(const QString &name, const QString &button)
{
    onModal(name, [button](QWidget *modal) {
        auto *b = modal->findChild<QAbstractButton *>(button);
        QVERIFY2(b, qPrintable(QStringLiteral("no button ") + button));
        b->click();
    });
}

std::unique_ptr<TMainForm> startedMainForm(const QString &dir)
{
    vorrel::setProgramDirOverride(dir);
    QFile ini(dir + QStringLiteral("/opts.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Preferences]\r\nDlg=0\r\n");
    ini.close();
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    return form;
}

void setRows(vorrel::CategoryTable &table, const QList<QStringList> &rows)
{
    std::vector<vorrel::CategoryRow> cells;
    for (const QStringList &row : rows) {
        vorrel::CategoryRow r;
        for (int c = 0; c < vorrel::CategoryTable::kColumns && c < row.size(); ++c)
            r.cells[c] = row[c];
        cells.push_back(std::move(r));
    }
    table.assignRows(std::move(cells));
}

QList<QStringList> rowsOf(const vorrel::CategoryTable &table)
{
    QList<QStringList> rows;
    for (int r = 1; r < table.gridRowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < vorrel::CategoryTable::kColumns; ++c)
            row << table.cell(c, r);
        rows << row;
    }
    return rows;
}

} // namespace editingtest
