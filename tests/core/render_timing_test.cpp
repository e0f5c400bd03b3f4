#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "render/FrameTiming.h"
#include "render/PicturePhase.h"

namespace {

RenderTimings Timings(uint32_t spiralMs, uint32_t pictureMs) {
    RenderTimings t;
    t.spiralMs = spiralMs;
    t.pictureMs = pictureMs;
    return t;
}

// A tick source that returns a fixed value and counts its reads.
struct FixedTick {
    uint32_t now;
    int reads = 0;
    uint32_t operator()() {
        ++reads;
        return now;
    }
};

} // namespace

TEST(RenderTimings, DerivedFromSettings) {
    SaverSettings s;
    RenderTimings t = RenderTimingsFrom(s);
    EXPECT_EQ(t.frameIntervalMs, 31);
    EXPECT_EQ(t.spiralMs, 30000u);
    EXPECT_EQ(t.pictureMs, 15000u);
    s.Speed = 0;
    s.PictureTime = 0;
    s.SpiralTime = 1;
    t = RenderTimingsFrom(s);
    EXPECT_EQ(t.frameIntervalMs, 20);
    EXPECT_EQ(t.pictureMs, 0u);
    EXPECT_EQ(t.spiralMs, 1000u);
    s.Speed = 2147483647; // hand-edited: no overflow
    EXPECT_EQ(RenderTimingsFrom(s).frameIntervalMs, 2147483667LL);
    s.Speed = -25;
    EXPECT_EQ(RenderTimingsFrom(s).frameIntervalMs, -5);
    // Hand-edited durations past what x 1000 holds in 32 bits: tick spans wrap as the tick count does, with
    // no signed overflow on the way (this runs under the undefined-behaviour sanitizer natively).
    s.SpiralTime = 2147483647;
    s.PictureTime = -1;
    t = RenderTimingsFrom(s);
    EXPECT_EQ(t.spiralMs, static_cast<uint32_t>(2147483647ull * 1000ull));
    EXPECT_EQ(t.pictureMs, static_cast<uint32_t>(0ull - 1000ull));
}

TEST(FramePacing, IntervalTicksTruncate) {
    EXPECT_EQ(IntervalTicks(31, 10000000), 310000);
    EXPECT_EQ(IntervalTicks(20, 3579545), 71590);
    EXPECT_EQ(IntervalTicks(31, 1000), 31);
    EXPECT_EQ(IntervalTicks(0, 10000000), 0);
    EXPECT_EQ(IntervalTicks(-5, 1000), -5);
}

TEST(FramePacing, EveryFrameSleepsAtLeastOnceAndALateFrameIsNotCaughtUp) {
    int64_t clock = 0;
    const auto read = [&clock] { return clock; };
    const auto sleep = [&clock](int64_t ticks) {
        EXPECT_EQ(ticks, 1); // in steps: always the shortest wait
        clock += 30;
    };
    CFramePacer pacer(100, 0);

    // On schedule: sleeps until the target is reached.
    EXPECT_EQ(pacer.Wait(read, sleep), 4);
    EXPECT_EQ(pacer.LastCounter(), 120);

    // A frame whose work took five intervals: exactly one sleep, and the schedule moves.
    clock += 500;
    EXPECT_EQ(pacer.Wait(read, sleep), 1);
    EXPECT_EQ(pacer.LastCounter(), 650);

    // The next frame counts from that late reading: a full interval again, no burst of short frames.
    EXPECT_EQ(pacer.Wait(read, sleep), 4);
    EXPECT_EQ(pacer.LastCounter(), 770);

    // A frame that did no work at all still waits from the previous reading, not from "now".
    int frames = 0;
    int sleeps = 0;
    for (; frames < 10; ++frames)
        sleeps += pacer.Wait(read, sleep);
    EXPECT_EQ(sleeps, 40);
    EXPECT_EQ(pacer.LastCounter(), 770 + 10 * 120);
    // A reading exactly on the target ends the wait.
    CFramePacer exact(90, clock);
    EXPECT_EQ(exact.Wait(read, sleep), 3);
}

TEST(FramePacing, NonPositiveIntervalStillSleepsOncePerFrame) {
    // Speed -20 and below: no interval to wait for, but the loop must give up the processor every frame.
    int64_t clock = 5;
    int sleeps = 0;
    for (int64_t interval : {int64_t{0}, int64_t{-1}, int64_t{-1000}}) {
        CFramePacer pacer(interval, clock);
        for (int i = 0; i < 3; ++i)
            sleeps += pacer.Wait([&clock] { return clock; }, [&clock](int64_t) { clock += 1; });
    }
    EXPECT_EQ(sleeps, 9);
}

TEST(FramePacing, AStopEndsTheWaitBeforeTheNextSleepWhateverTheInterval) {
    // Speed 100000: a 100 s frame. The stop arrives during the fourth sleep.
    int64_t clock = 0;
    int asked = 0;
    CFramePacer pacer(100020, 0);
    const int sleeps =
        pacer.Wait([&clock] { return clock; }, [&clock](int64_t) { clock += 1; }, [&asked] { return ++asked > 4; });
    EXPECT_EQ(sleeps, 4);
    EXPECT_EQ(asked, 5);
    // A stop requested before the wait sleeps not at all.
    EXPECT_EQ(pacer.Wait([&clock] { return clock; }, [&clock](int64_t) { clock += 1; }, [] { return true; }), 0);
}

TEST(FramePacing, WithFineTimersOneWaitEndsAtTheTargetAndALateFrameWaitsTheShortestOnce) {
    // interval 100 ticks, shortest wait 7; the frame's work took `work` ticks; a wait ends `early` ticks before
    // the time it was asked for (once), or when a stop is requested.
    const struct {
        const char* name;
        int64_t interval, work, early;
        bool stopDuringWait;
        std::vector<int64_t> asked;
        int64_t last;
    } rows[] = {
        {"on schedule", 100, 30, 0, false, {70}, 100},
        {"a wait that ends early waits for the rest", 100, 30, 20, false, {70, 20}, 100},
        {"late: the shortest wait once", 100, 500, 0, false, {7}, 507},
        {"no interval: the shortest wait once", 0, 0, 0, false, {7}, 7},
        {"negative interval", -1000, 0, 0, false, {7}, 7},
        {"a stop ends the wait for a long interval", 100000, 0, 99990, true, {100000}, 10},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int64_t clock = 0;
        bool stop = false;
        int64_t early = row.early;
        std::vector<int64_t> asked;
        CFramePacer pacer(row.interval, 0, PacerWaits::ToTheTarget, 7);
        clock += row.work;
        const int waits = pacer.Wait([&] { return clock; },
                                     [&](int64_t ticks) {
                                         asked.push_back(ticks);
                                         clock += ticks - std::exchange(early, 0);
                                         stop = row.stopDuringWait;
                                     },
                                     [&] { return stop; });
        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(waits, static_cast<int>(row.asked.size()));
        EXPECT_EQ(pacer.LastCounter(), row.last);
    }
    // A timer that always wakes 3 ticks late: after a window of waits they are waited less, and frames end on their
    // targets; once it wakes on time the lead is too much, and a wait that ends early waits again for the rest.
    {
        int64_t clock = 0, late = 3;
        CFramePacer pacer(100, 0, PacerWaits::ToTheTarget, 7);
        const auto read = [&] { return clock; };
        const auto timer = [&](int64_t ticks) { clock += ticks + late; };
        for (int i = 0; i < CFramePacer::kLatenessWindow; ++i)
            pacer.Wait(read, timer);
        EXPECT_EQ(pacer.LastCounter(), CFramePacer::kLatenessWindow * 103);
        EXPECT_EQ(pacer.Lead(), 3);
        pacer.Wait(read, timer);
        EXPECT_EQ(pacer.LastCounter(), CFramePacer::kLatenessWindow * 103 + 100);
        late = 0;
        EXPECT_EQ(pacer.Wait(read, timer), 2);
        EXPECT_EQ(pacer.LastCounter(), CFramePacer::kLatenessWindow * 103 + 200);
        EXPECT_EQ(pacer.Lead(), 1);
        late = 50; // a loaded machine: the lead grows no further than two of the shortest waits
        for (int i = 0; i < 2 * CFramePacer::kLatenessWindow; ++i)
            pacer.Wait(read, timer);
        EXPECT_EQ(pacer.Lead(), 14);
        // Late frames (the shortest wait) and waits a stop ended teach nothing.
        CFramePacer fresh(100, clock, PacerWaits::ToTheTarget, 7);
        for (int i = 0; i < CFramePacer::kLatenessWindow; ++i) {
            clock += 500;
            fresh.Wait(read, timer);
            fresh.Wait(read, timer, [] { return true; });
        }
        EXPECT_EQ(fresh.Lead(), 0);
    }
    // 100 ns units: rounded up, and no overflow for the longest interval a stored Speed gives (2^31 + 19 ms).
    EXPECT_EQ(TicksToHundredNs(310000, 10000000), 310000);
    EXPECT_EQ(TicksToHundredNs(1, 3), 3333334);
    EXPECT_EQ(TicksToHundredNs(3, 3), 10000000);
    EXPECT_EQ(TicksToHundredNs(0, 10000000), 0);
    EXPECT_EQ(TicksToHundredNs(-5, 10000000), 0);
    EXPECT_EQ(TicksToHundredNs(5, 0), 0); // no counter frequency: no division by it
    EXPECT_EQ(TicksToHundredNs(IntervalTicks(2147483667LL, 10000000), 10000000), 2147483667LL * 10000);
}

TEST(PhaseClock, SpiralThenPictureThenSpiralWithDefaults) {
    const uint32_t t0 = 1000000;
    CPhaseClock clock(Timings(30000, 15000), t0);
    FixedTick tick{t0};
    EXPECT_EQ(clock.BeginFrame(t0), FrameAction::PresentSpiral);
    // Exactly the spiral duration elapsed: still spiral; one more millisecond: a picture phase.
    EXPECT_EQ(clock.BeginFrame(t0 + 30000), FrameAction::PresentSpiral);
    EXPECT_EQ(clock.BeginFrame(t0 + 30001), FrameAction::BeginPicture);
    EXPECT_TRUE(clock.ShowingPicture());
    // The picture took long to draw: its time counts toward the picture phase.
    tick.now = t0 + 40000;
    clock.EndFrame(std::ref(tick));
    EXPECT_TRUE(clock.ShowingPicture());
    EXPECT_EQ(clock.BeginFrame(t0 + 44000), FrameAction::None);
    tick.now = t0 + 45000;
    clock.EndFrame(std::ref(tick));
    EXPECT_TRUE(clock.ShowingPicture());
    EXPECT_EQ(clock.BeginFrame(t0 + 45001), FrameAction::None);
    tick.now = t0 + 45001;
    tick.reads = 0;
    clock.EndFrame(std::ref(tick));
    EXPECT_FALSE(clock.ShowingPicture());
    EXPECT_EQ(tick.reads, 2); // the new phase starts at a fresh reading
    EXPECT_EQ(clock.PhaseStart(), t0 + 45001);
    EXPECT_EQ(clock.BeginFrame(t0 + 45002), FrameAction::PresentSpiral);
    EXPECT_EQ(clock.BeginFrame(t0 + 75001), FrameAction::PresentSpiral);
    EXPECT_EQ(clock.BeginFrame(t0 + 75002), FrameAction::BeginPicture);
}

TEST(PhaseClock, PictureTimeZeroNeverBeginsAPicture) {
    CPhaseClock clock(Timings(30000, 0), 0);
    FixedTick tick{0};
    for (uint32_t now : {0u, 30001u, 100000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        EXPECT_EQ(clock.BeginFrame(now), FrameAction::PresentSpiral) << now;
        tick.now = now;
        clock.EndFrame(std::ref(tick));
    }
    EXPECT_FALSE(clock.ShowingPicture());
}

TEST(PhaseClock, SpiralTimeZeroShowsPicturesBackToBack) {
    const uint32_t t0 = 500;
    CPhaseClock clock(Timings(0, 15000), t0);
    FixedTick tick{t0};
    // While the tick count has not moved since the phase start, a spiral frame is presented.
    EXPECT_EQ(clock.BeginFrame(t0), FrameAction::PresentSpiral);
    clock.EndFrame(std::ref(tick));
    // The first frame a millisecond later begins a picture.
    EXPECT_EQ(clock.BeginFrame(t0 + 1), FrameAction::BeginPicture);
    tick.now = t0 + 15001;
    clock.EndFrame(std::ref(tick));
    EXPECT_FALSE(clock.ShowingPicture());
    EXPECT_EQ(clock.BeginFrame(t0 + 15001), FrameAction::PresentSpiral);
    tick.now = t0 + 15001;
    clock.EndFrame(std::ref(tick));
    EXPECT_EQ(clock.BeginFrame(t0 + 15002), FrameAction::BeginPicture);
}

TEST(PhaseClock, TickCountWrapDoesNotCutAPhaseShort) {
    // The spiral phase starts 256 ms before the 32-bit tick count wraps.
    const uint32_t t0 = 0xFFFFFF00u;
    CPhaseClock clock(Timings(30000, 15000), t0);
    FixedTick tick{t0};
    EXPECT_EQ(clock.BeginFrame(0xFFFFFF10u), FrameAction::PresentSpiral);
    EXPECT_EQ(clock.BeginFrame(0x00000010u), FrameAction::PresentSpiral);
    EXPECT_EQ(clock.BeginFrame(t0 + 30000u), FrameAction::PresentSpiral); // 0x7430 after the wrap
    EXPECT_EQ(clock.BeginFrame(t0 + 30001u), FrameAction::BeginPicture);
    tick.now = t0 + 45000u;
    clock.EndFrame(std::ref(tick));
    EXPECT_TRUE(clock.ShowingPicture());
    tick.now = t0 + 45001u;
    clock.EndFrame(std::ref(tick));
    EXPECT_FALSE(clock.ShowingPicture());

    // A picture phase that spans the wrap ends on time too.
    CPhaseClock late(Timings(1000, 1000), 0xFFFFF000u);
    EXPECT_EQ(late.BeginFrame(0xFFFFF3E9u), FrameAction::BeginPicture);
    tick.now = 0x00000010u; // 4112 ms after the phase start
    late.EndFrame(std::ref(tick));
    EXPECT_FALSE(late.ShowingPicture());
}

TEST(PhaseClock, FrameCounterAdvancesEveryFrameModulo15AlsoDuringPictures) {
    CPhaseClock clock(Timings(0, 100000), 0);
    FixedTick tick{0};
    std::vector<int> seen;
    for (int i = 0; i < 31; ++i) {
        seen.push_back(clock.FrameIndex());
        clock.BeginFrame(i == 0 ? 0 : 10);
        clock.EndFrame(std::ref(tick));
    }
    EXPECT_TRUE(clock.ShowingPicture());
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(seen[i], i % 15);
}

TEST(PicturePhase, APhaseNeverWaitsForItsPictureAndShowsItOnceReady) {
    using F = PictureFrame;
    // Each row: whether pictures are prepared ahead, then per frame of one picture phase (the first is its start)
    // whether the picture thread has one ready, and what the frame draws.
    const struct {
        const char* name;
        bool ahead;
        std::vector<bool> ready;
        std::vector<PictureFrame> frames;
    } rows[] = {
        {"ready at the start", true, {true, true, false}, {F::ShowReady, F::Nothing, F::Nothing}},
        {"late: the built-in picture, then the picture once ready",
         true,
         {false, false, true, true},
         {F::ShowBuiltIn, F::Nothing, F::ShowReady, F::Nothing}},
        {"never ready: the built-in picture stays", true, {false, false}, {F::ShowBuiltIn, F::Nothing}},
        {"at the phase: asked for, spiral until ready",
         false,
         {false, false, true, true},
         {F::RequestAndSpiral, F::Spiral, F::ShowReady, F::Nothing}},
        {"at the phase, ready from an earlier request", false, {true, false}, {F::ShowReady, F::Nothing}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CPicturePhase phase(row.ahead);
        // A phase that ended waiting leaves nothing behind: each phase starts afresh.
        for (int run = 0; run < 2; ++run)
            for (size_t i = 0; i < row.ready.size(); ++i)
                EXPECT_EQ(i == 0 ? phase.Begin(row.ready[i]) : phase.Next(row.ready[i]), row.frames[i])
                    << "run " << run << ", frame " << i;
    }
}
