// uibench overview [--copies N] [--groups N]
//
// Builds a result of that size (BigResult.h; default a million copies in 300,000 groups),
// shows the results screen's overview on the offscreen platform and prints:
//   overview shown          making the screen with its overview, charts drawn (main thread)
//   overview answers        until the hints panel and the heaps chart have their answers
//                           (the background calculations, answered on the main thread)
//   pie frame               one spin tick of the pie: its layout and a full paint,
//                           averaged over 120 ticks (a spin asks for 60 a second)
//   bars after removal      from a group leaving the result until the bars show it
// Animations run on the Instant clock.
#include "BigResult.h"
#include "UiBench.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Overview/BarChartView.h"
#include "Browser/Overview/HeapsChart.h"
#include "Browser/Overview/OverviewVC.h"
#include "Browser/Overview/PieChartView.h"
#include "Browser/Overview/QuickHintsView.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Selection/OperationsManager.h"
#include "Toolkit/AnimationClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

// Runs events until |done| holds; answers the milliseconds since |timer| started, or -1
// after a minute.
qint64 until(const QElapsedTimer& timer, const std::function<bool()>& done) {
    while (!done()) {
        if (timer.elapsed() > 60000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return timer.elapsed();
}

int run(const QStringList& args) {
    BigResultShape shape;
    if (!shape.parse(args))
        return 2;
    QTemporaryDir scanned;
    if (!scanned.isValid())
        return 1;
    Settings::setShowOverlayOverviewScreen(false);
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    auto container = buildBigResult(shape, QFile::encodeName(scanned.path()));
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    UiBench::settle(nullptr);

    QElapsedTimer timer;
    timer.start();
    auto screen = std::make_unique<SelectDuplicatesVC>();
    screen->resize(1200, 713);
    screen->show();
    screen->pressOverviewButton();
    UiBench::settle(screen.get());
    UiBench::printFigure("overview shown", timer.elapsed());
    OverviewVC* overview = screen->overviewVC();
    const qint64 answers = until(timer, [overview] {
        return !overview->quickHintsView()->isCalculating() &&
               overview->heapsChartView()->hasAnswer();
    });
    UiBench::printFigure("overview answers", answers);

    overview->pieButtonPressed();
    UiBench::settle(screen.get());
    PieChartView* pie = overview->pieChartView();
    constexpr int kTicks = 120;
    timer.restart();
    for (int tick = 0; tick < kTicks; ++tick) {
        pie->setStartAngle(pie->startAngle() + 3);
        pie->repaint();
    }
    UiBench::printFigure("pie frame", timer.elapsed() / kTicks);

    BarChartView* bars = overview->barChartView();
    const auto pictures = container->getCategoryWithType(0);
    const std::int64_t before = bars->entries()[0].size;
    timer.restart();
    DuplicatesManager::sharedManager().getOperationsManager().removeGroupFromDuplicatesList(
        pictures->getGroups().front());
    const qint64 removal = until(timer, [&] { return bars->entries()[0].size != before; });
    UiBench::settle(screen.get());
    UiBench::printFigure("bars after removal", removal);

    screen.reset();
    UiBench::settle(nullptr);
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    return answers < 0 || removal < 0 ? 1 : 0;
}

const UiBench::Command command("overview", "[--copies N] [--groups N]", &run);

} // namespace
