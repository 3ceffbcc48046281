#pragma once

#include "document/Checker.h"
#include "document/FileSearch.h"

#include <QFrame>
#include <QIcon>
#include <QString>

#include <vector>

class QLabel;
class QTreeWidget;

namespace vorrel {

// "2 errors, 14 warnings", "1 error, 0 warnings", or "No problems found".
QString problemSummary(const std::vector<Problem> &problems);

// The problems of the last check, one line each with its icon, line, column and message, and
// their count below. Activating a line (double-click or Enter) asks for that place.
class CheckPanel final : public QFrame
{
    Q_OBJECT

public:
    enum ListColumn { SeverityColumn, LineColumn, ColumnColumn, MessageColumn };

    explicit CheckPanel(QWidget *parent = nullptr);

    void showProblems(const std::vector<Problem> &problems);
    // The lines Find in Files found, with their files' names in the first column.
    void showFileHits(const std::vector<FileHit> &hits);
    QIcon severityIcon(Severity severity) const;

    QTreeWidget *list() const { return m_list; }
    QLabel *summary() const { return m_summary; }

Q_SIGNALS:
    // Line and column as the checker counts them: 1-based, columns in characters.
    void problemActivated(int line, int column);
    // A line of showFileHits().
    void fileLineActivated(const QString &fileName, int line, int column);

private:
    // The header and column widths of problems, or of lines found in files.
    void setHeader(bool files);

    QTreeWidget *m_list = nullptr;
    QLabel *m_summary = nullptr;
    QIcon m_errorIcon;
    QIcon m_warningIcon;
};

} // namespace vorrel
