// Filling the report tree view from the 100 000-case report, against the
// time the reader takes to read the same file in the same run (the viewer
// does both for every file it opens, so the view should cost no more than
// the reading), and walking next-failed from the first failed item to the
// last. Prints figures only; it never fails on a time.
#include "benchfiles.h"
#include "benchstyles.h"
#include "benchtimer.h"

#include <ddocument.h>
#include <qareporterdatatree.h>
#include <qarlistview.h>
#include <qarlistviewitem.h>
#include <qastxmlrodhandler.h>
#include <qastxmlrodreader.h>

#include <QApplication>
#include <QTreeWidgetItemIterator>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const int Cases = 100000;
const int Runs = 3;

struct Report
{
    std::unique_ptr<QAReporterDataTree> tree;
    std::unique_ptr<DDocument> document;
    QString error;
};

Report readReport(const QString& path, const BenchStyles& styles)
{
    QAstXmlRodReader reader;
    reader.handler()->setStyles(styles.styles());
    Report report;
    if (!reader.parseFile(path, nullptr))
        report.error = reader.errorString();
    report.tree = reader.takeTree();
    report.document = reader.takeDocument();
    return report;
}

int countItems(QTreeWidget* view)
{
    int count = 0;
    for (QTreeWidgetItemIterator it(view); *it; ++it)
        ++count;
    return count;
}

// Items from the first failed item to the last one, both included, in the
// order next-failed walks them.
struct FailedSpan
{
    int failed = 0;
    int passed = 0;
};

FailedSpan failedSpan(QTreeWidget* view)
{
    FailedSpan span;
    int sinceFirst = 0;
    for (QTreeWidgetItemIterator it(view); *it; ++it) {
        if (span.failed > 0)
            ++sinceFirst;
        if (QARListViewItem::cast(*it)->failed()) {
            ++span.failed;
            span.passed = sinceFirst + 1;
        }
    }
    return span;
}

void walkFailed(QARListView* view)
{
    view->setCurrentItem(view->topLevelItem(0));
    view->selectNextFailed(); // to the first failed item; lays the view out
    const double seconds = BenchTimer::seconds([&] {
        QTreeWidgetItem* before = nullptr;
        while (view->currentItem() != before) {
            before = view->currentItem();
            view->selectNextFailed();
        }
    });
    const FailedSpan span = failedSpan(view);
    std::printf("next failed, first to last: %.3f s for %d failed items, %d items passed "
                "(%.0f ns per item passed)\n",
                seconds, span.failed, span.passed, seconds * 1e9 / qMax(1, span.passed));
}

// One test holding every case as a direct child: a branch as wide as a
// branch gets. Filling and walking it must stay linear.
void wideBranch()
{
    QAReporterDataTree tree(new QAReporterNode);
    tree.appendChild(new QAReporterNode);
    tree.toLastChild();
    for (int i = 0; i < Cases; ++i) {
        auto* node = new QAReporterNode;
        node->name = QString::number(i);
        node->state = i % 10 == 0 ? QStringLiteral("ko") : QStringLiteral("ok");
        tree.appendChild(node);
    }
    QARListView view;
    const double fillSeconds = BenchTimer::seconds([&] { tree.fillListView(&view, "wide.xrd"); });
    std::printf("one branch of %d children: fill %.3f s\n", Cases, fillSeconds);
    view.resize(400, 800);
    view.show();
    walkFailed(&view);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchStyles styles;
    const QString path = BenchFiles::report(Cases);
    if (path.isEmpty()) {
        std::printf("could not generate the report of %d cases\n", Cases);
        return 0;
    }

    Report report;
    const double parseSeconds = BenchTimer::bestSeconds(Runs, [&] {
        report = Report();
        report = readReport(path, styles);
    });
    if (!report.tree) {
        std::printf("the reader failed: %s\n", qPrintable(report.error));
        return 0;
    }

    // Every run fills a view of its own, kept until the end, so that no run
    // pays for tearing down the previous one.
    std::vector<std::unique_ptr<QARListView>> views;
    const double fillSeconds = BenchTimer::bestSeconds(Runs, [&] {
        views.push_back(std::make_unique<QARListView>());
        report.tree->fillListView(views.back().get(), path);
    });
    QARListView* view = views.back().get();

    std::printf("report: %d cases, %s\n", Cases, qPrintable(path));
    std::printf("times: best of %d runs\n\n", Runs);
    std::printf("read:  %.3f s\n", parseSeconds);
    std::printf("fill:  %.3f s for %d items\n", fillSeconds, countItems(view));
    std::printf("fill / read: %.2f (target at most 1.00)\n\n", fillSeconds / parseSeconds);

    view->resize(400, 800);
    view->show();
    walkFailed(view);
    views.clear(); // the items point into the tree: they go first

    std::printf("\n");
    wideBranch();
    return 0;
}
