#include "MainFormFixture.h"

#include "app/Main.h"
#include "app/ProgressBar.h"
#include "app/Splash.h"
#include "document/ui/New.h"
#include "document/ui/PreviewEditor.h"
#include "editing/ui/SelEdit.h"
#include "prefs/ui/Options.h"
#include "report/ui/Report.h"
#include "widgets/ui/About1.h"
#include "widgets/ui/FormFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <memory>

using namespace vorrel;
using namespace vorrel::test;

namespace {

const QString kLiberation = QStringLiteral("Liberation Sans");

QString formFace()
{
    return QFontInfo(formFont(8)).family();
}

// The layouts were measured in a face with these metrics; without one, sizes drawn from the
// text cannot match the design.
bool metricsAsDesigned()
{
    const QString face = formFace();
    return face == kLiberation || face == QStringLiteral("Arial") || face == formFamily();
}

// The main window on screen with its menus on and the Categories page shown.
std::unique_ptr<TMainForm> shownOnCategories()
{
    auto form = startedMainForm();
    form->iButMenu(true);
    form->tabs->setCurrentIndex(0);
    form->show();
    return form;
}

std::unique_ptr<QWidget> makeWindow(const QByteArray &name)
{
    if (name == "main")
        return startedMainForm();
    if (name == "new")
        return std::make_unique<TfrmNew>();
    if (name == "options")
        return std::make_unique<TfrmOptions>();
    if (name == "category")
        return std::make_unique<TfrmSelEdit>();
    if (name == "report")
        return std::make_unique<TfrmReport>();
    if (name == "about")
        return std::make_unique<TAboutBox>();
    if (name == "welcome")
        return std::make_unique<TStartUp>();
    return std::make_unique<TpBar>();
}

// The pixels of `image` inside `area` that pass `test`, row by row.
template<typename Test> QList<QPoint> pixelsWhere(const QImage &image, const QRect &area, Test test)
{
    QList<QPoint> found;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (test(image.pixelColor(x, y)))
                found << QPoint(x, y);
        }
    }
    return found;
}

} // namespace

class TestLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyWindowDrawsInOneFace_data();
    void everyWindowDrawsInOneFace();
    void mainWindowAsDesigned();
    void gridLinesAndCaption();
    void captionsFitAtDesignedSizes();

private:
    std::unique_ptr<ProgramDir> m_dir;
};

void TestLook::initTestCase()
{
    m_dir = std::make_unique<ProgramDir>(kQuietOpts);
    QVERIFY(m_dir->isValid());
}

void TestLook::everyWindowDrawsInOneFace_data()
{
    QTest::addColumn<QByteArray>("window");
    for (const char *name : { "main", "new", "options", "category", "report", "about", "welcome", "progress" })
        QTest::newRow(name) << QByteArray(name);
}

void TestLook::everyWindowDrawsInOneFace()
{
    QFETCH(QByteArray, window);
    const QString face = formFace();
    if (QFontDatabase::hasFamily(kLiberation) && !QFontDatabase::hasFamily(formFamily()))
        QCOMPARE(face, kLiberation);
    // A font naming the form face anywhere else comes out the same.
    QCOMPARE(QFontInfo(QFont(formFamily(), 10)).family(), face);

    const std::unique_ptr<QWidget> top = makeWindow(window);
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets << top.get();
    QStringList others;
    for (QWidget *w : std::as_const(widgets)) {
        // The preview draws in the face the user chose.
        bool own = w->window() != top.get();
        for (QWidget *p = w; p && !own; p = p->parentWidget())
            own = qobject_cast<PreviewEditor *>(p);
        if (!own && w->fontInfo().family() != face)
            others << w->metaObject()->className() + QStringLiteral(" ") + w->objectName() + QStringLiteral(": ")
                    + w->fontInfo().family();
    }
    QVERIFY2(others.isEmpty(), qPrintable(others.join(QStringLiteral("; "))));
}

void TestLook::mainWindowAsDesigned()
{
    auto form = shownOnCategories();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QTableView *grid = form->sg1;
    QHeaderView *header = grid->horizontalHeader();
    QCOMPARE(grid->rowHeight(0), 40);
    QCOMPARE(header->height(), 40);
    for (QWidget *w : { static_cast<QWidget *>(grid), static_cast<QWidget *>(header) }) {
        QCOMPARE(w->fontInfo().family(), formFace());
        QCOMPARE(w->font().pointSize(), 8);
    }
    QCOMPARE(form->StatusLine->height(), 23);
    // The path line starts where the design puts it and follows the window's width.
    const int width = form->centralWidget()->width();
    QCOMPARE(form->path->geometry(), QRect(96, 36, width - 96 - 7, 17));
    form->resize(form->width() + 100, form->height());
    QCOMPARE(form->path->width(), width + 100 - 96 - 7);
}

void TestLook::gridLinesAndCaption()
{
    auto form = shownOnCategories();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTableView *grid = form->sg1;
    const QRgb line = grid->palette().color(QPalette::Mid).rgb();

    // The label cell of the first row: lines two pixels wide along its right and bottom
    // edges, looked for away from its text.
    const QRect cell = grid->visualRect(grid->model()->index(0, 0));
    const QImage cells = grid->viewport()->grab().toImage();
    auto isLine = [line](const QColor &c) { return c.rgb() == line; };
    const int y = cell.top() + 2;
    QCOMPARE(pixelsWhere(cells, QRect(cell.left(), y, cell.width(), 1), isLine),
        QList<QPoint>({ QPoint(cell.right() - 1, y), QPoint(cell.right(), y) }));
    const int x = cell.center().x();
    QCOMPARE(pixelsWhere(cells, QRect(x, cell.top(), 1, cell.height()), isLine),
        QList<QPoint>({ QPoint(x, cell.bottom() - 1), QPoint(x, cell.bottom()) }));

    // The caption of the narrow label column whole, clear of the section's edges.
    QHeaderView *header = grid->horizontalHeader();
    const QRect section(0, 0, header->sectionSize(0) - 2, header->height() - 2);
    const QList<QPoint> ink
        = pixelsWhere(header->grab().toImage(), section, [](const QColor &c) { return c.lightness() < 128; });
    QVERIFY(!ink.isEmpty());
    const auto [left, right]
        = std::minmax_element(ink.cbegin(), ink.cend(), [](const QPoint &a, const QPoint &b) { return a.x() < b.x(); });
    QVERIFY2(left->x() > section.left() && right->x() < section.right(),
        qPrintable(QStringLiteral("%1..%2").arg(left->x()).arg(right->x())));
    const int captionWidth = header->fontMetrics().horizontalAdvance(QStringLiteral("Categories"));
    QVERIFY2(right->x() - left->x() >= captionWidth - 4, qPrintable(QString::number(right->x() - left->x())));
}

void TestLook::captionsFitAtDesignedSizes()
{
    if (!metricsAsDesigned())
        QSKIP("No face with the form face's metrics is installed");
    TfrmSelEdit category;
    category.show();
    QVERIFY(QTest::qWaitForWindowExposed(&category));
    for (QLabel *tag :
        { category.Label1, category.Label2, category.Label3, category.Label4, category.Label5, category.Label6 })
        QCOMPARE(tag->font().pointSize(), 10);
    QCOMPARE(category.Label3->width(), 564);
    QCOMPARE(category.Label6->width(), 545);
    QCOMPARE(category.ToolBar1->geometry(), QRect(4, 348, 73, 33));
    // On the bar itself, not in its overflow menu.
    QVERIFY(category.cmdAutotext->isVisible());

    // The caption fits its designed button with the style's own margins.
    TfrmOptions options;
    QVERIFY2(options.cmdDefaults->sizeHint().width() <= options.cmdDefaults->width(),
        qPrintable(QString::number(options.cmdDefaults->sizeHint().width())));
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
