#include "document/ui/CheckPanel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vorrel {

QString problemSummary(const std::vector<Problem> &problems)
{
    if (problems.empty())
        return QCoreApplication::translate("vorrel::CheckPanel", "No problems found");
    const auto errors = std::count_if(
        problems.begin(), problems.end(), [](const Problem &p) { return p.severity == Severity::Error; });
    // The command line's problemCounts() stays English for scripts; the window speaks the user's language.
    const auto warnings = qsizetype(problems.size()) - errors;
    const auto counted = [](qsizetype count, const char *one, const char *many) {
        return QCoreApplication::translate("vorrel::CheckPanel", count == 1 ? one : many).arg(count);
    };
    return counted(errors, QT_TRANSLATE_NOOP("vorrel::CheckPanel", "%1 error"),
               QT_TRANSLATE_NOOP("vorrel::CheckPanel", "%1 errors"))
        + QStringLiteral(", ")
        + counted(warnings, QT_TRANSLATE_NOOP("vorrel::CheckPanel", "%1 warning"),
            QT_TRANSLATE_NOOP("vorrel::CheckPanel", "%1 warnings"));
}

CheckPanel::CheckPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("checkList"));
    setFrameStyle(QFrame::NoFrame);
    m_errorIcon
        = QIcon::fromTheme(QStringLiteral("dialog-error"), style()->standardIcon(QStyle::SP_MessageBoxCritical));
    m_warningIcon
        = QIcon::fromTheme(QStringLiteral("dialog-warning"), style()->standardIcon(QStyle::SP_MessageBoxWarning));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("checkProblems"));
    m_list->setColumnCount(4);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setIconSize(QSize(16, 16));
    QHeaderView *header = m_list->header();
    header->setStretchLastSection(true);
    header->setSectionsMovable(false);
    setHeader(false);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_list);
    layout->addWidget(m_summary);

    // Activation is the platform's double-click (or single click where that is the custom) and Enter.
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const int line = item->data(LineColumn, Qt::DisplayRole).toInt();
        const int column = item->data(ColumnColumn, Qt::DisplayRole).toInt();
        const QString file = item->data(SeverityColumn, Qt::UserRole).toString();
        if (file.isEmpty())
            Q_EMIT problemActivated(line, column);
        else
            Q_EMIT fileLineActivated(file, line, column);
    });
}

void CheckPanel::setHeader(bool files)
{
    m_list->setHeaderLabels(
        { files ? tr("File") : QString(), tr("Line"), tr("Column"), files ? tr("Text") : tr("Message") });
    m_list->setAccessibleName(files ? tr("Lines found") : tr("Problems"));
    m_list->header()->resizeSection(SeverityColumn, files ? 160 : 24);
    m_list->header()->resizeSection(LineColumn, 56);
    m_list->header()->resizeSection(ColumnColumn, 56);
}

void CheckPanel::showFileHits(const std::vector<FileHit> &hits)
{
    m_list->clear();
    setHeader(true);
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(hits.size()));
    QStringList files;
    for (const FileHit &hit : hits) {
        auto *item = new QTreeWidgetItem;
        const QString name = QFileInfo(hit.fileName).fileName();
        item->setText(SeverityColumn, name);
        item->setToolTip(SeverityColumn, hit.fileName);
        item->setData(SeverityColumn, Qt::UserRole, hit.fileName);
        item->setData(LineColumn, Qt::DisplayRole, hit.line);
        item->setData(ColumnColumn, Qt::DisplayRole, hit.column);
        item->setText(MessageColumn, hit.text);
        items.append(item);
        if (files.isEmpty() || files.constLast() != hit.fileName)
            files.append(hit.fileName);
    }
    m_list->addTopLevelItems(items);
    if (!items.isEmpty())
        m_list->setCurrentItem(items.constFirst());
    const qsizetype lines = qsizetype(hits.size());
    const qsizetype fileCount = files.size();
    m_summary->setText(lines == 0 ? tr("Nothing found")
                                  : tr("%1 found in %2")
                                        .arg(lines == 1 ? tr("1 line") : tr("%1 lines").arg(lines),
                                            fileCount == 1 ? tr("1 file") : tr("%1 files").arg(fileCount)));
}

void CheckPanel::showProblems(const std::vector<Problem> &problems)
{
    m_list->clear();
    setHeader(false);
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(problems.size()));
    for (const Problem &problem : problems) {
        auto *item = new QTreeWidgetItem;
        const bool error = problem.severity == Severity::Error;
        item->setIcon(SeverityColumn, error ? m_errorIcon : m_warningIcon);
        item->setData(SeverityColumn, Qt::ToolTipRole, error ? tr("Error") : tr("Warning"));
        item->setData(SeverityColumn, Qt::AccessibleTextRole, item->data(SeverityColumn, Qt::ToolTipRole));
        item->setData(LineColumn, Qt::DisplayRole, problem.line);
        item->setData(ColumnColumn, Qt::DisplayRole, problem.column);
        item->setText(MessageColumn, problem.message);
        item->setToolTip(MessageColumn, problem.message);
        items.append(item);
    }
    // One insertion: a document with thousands of warnings fills the list at once.
    m_list->addTopLevelItems(items);
    if (!items.isEmpty())
        m_list->setCurrentItem(items.constFirst());
    m_summary->setText(problemSummary(problems));
}

QIcon CheckPanel::severityIcon(Severity severity) const
{
    return severity == Severity::Error ? m_errorIcon : m_warningIcon;
}

} // namespace vorrel
