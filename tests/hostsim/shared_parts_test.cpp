// The parts of the standalone host that the frames of one instance share: safe when frames use
// them at once, and able to tell what each frame holds, so that one frame's audit does not count
// what another frame in progress holds.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "hostsim/frames/world_registry.h"
#include "hostsim/handle_heap.h"
#include "hostsim/param_store.h"
#include "hostsim/suite_registry.h"

namespace {

using namespace hostsim;

constexpr int kDummySuite = 0;

PF_ParamDef Slider() {
    PF_ParamDef def{};
    def.param_type = PF_Param_FLOAT_SLIDER;
    return def;
}

TEST(SharedParts, FramesAtOnceKeepEveryCountRight) {
    SuiteRegistry suites;
    suites.Provide("Dummy", 1, &kDummySuite);
    HandleHeap handles;
    ParamStore params;
    ASSERT_EQ(params.Add(-1, Slider()), PF_Err_NONE);
    params.Animate(1, {{0, 1}, {1, 3}});
    WorldRegistry worlds;

    constexpr int kThreads = 8, kRounds = 100;
    std::vector<int> frames(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const ResourceHolder frame = &frames[static_cast<size_t>(t)];
            for (int i = 0; i < kRounds; ++i) {
                const void* suite = nullptr;
                EXPECT_EQ(suites.Acquire("Dummy", 1, &suite, frame), kSPNoError);
                PF_Handle handle = handles.New(16, frame);
                EXPECT_NE(handles.Lock(handle, frame), nullptr);
                PF_ParamDef value{};
                EXPECT_EQ(params.Checkout(1, t / 8.0, &value, frame), PF_Err_NONE);
                EXPECT_DOUBLE_EQ(value.u.fs_d.value, 1 + 2 * (t / 8.0));
                HostWorld& world = worlds.Create(4, 2, WorldDepth::k8, 0, frame);
                PF_PixelFormat format = 0;
                EXPECT_EQ(worlds.PixelFormat(&world.world(), &format), PF_Err_NONE);
                worlds.Destroy(world);
                EXPECT_EQ(params.Checkin(&value, frame), PF_Err_NONE);
                handles.Unlock(handle, frame);
                handles.Dispose(handle);
                EXPECT_EQ(suites.Release("Dummy", 1, frame), kSPNoError);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();

    EXPECT_TRUE(suites.Outstanding().empty());
    EXPECT_EQ(suites.CountsFor("Dummy", 1).acquires, kThreads * kRounds);
    EXPECT_EQ(suites.StrayReleases(), 0);
    EXPECT_EQ(handles.LiveCount(), 0u);
    EXPECT_EQ(handles.Misuses(), 0);
    EXPECT_EQ(params.outstanding_checkouts(), 0);
    EXPECT_EQ(params.checkout_log().size(), static_cast<size_t>(kThreads * kRounds));
    EXPECT_EQ(worlds.LiveCount(), 0u);
}

TEST(SharedParts, AuditsLeaveOutWhatSkippedFramesHold) {
    int a = 0, b = 0;
    const HolderSet skip_a = {&a}, skip_b = {&b};

    SuiteRegistry suites;
    suites.Provide("Dummy", 1, &kDummySuite);
    const void* suite = nullptr;
    ASSERT_EQ(suites.Acquire("Dummy", 1, &suite, &a), kSPNoError);
    EXPECT_TRUE(suites.Outstanding(skip_a).empty());
    EXPECT_EQ(suites.Outstanding(skip_b).size(), 1u);
    // Given back outside the frame that took it: still given back.
    EXPECT_EQ(suites.Release("Dummy", 1), kSPNoError);
    EXPECT_TRUE(suites.Outstanding().empty());
    EXPECT_EQ(suites.Release("Dummy", 1, &a), kSPSuiteNotFoundError);
    EXPECT_EQ(suites.StrayReleases(), 1);

    HandleHeap handles;
    PF_Handle handle = handles.New(8, &a);
    EXPECT_EQ(handles.UnownedLiveCount(skip_a), 0u);
    EXPECT_EQ(handles.UnownedLiveCount(skip_b), 1u);
    handles.Lock(handle, &b);
    EXPECT_EQ(handles.LockedCount(skip_b), 0u);
    EXPECT_EQ(handles.LockedCount(skip_a), 1u);
    handles.Unlock(handle);
    EXPECT_EQ(handles.LockedCount(), 0u);
    handles.Dispose(handle);

    ParamStore params;
    PF_ParamDef layer{};
    ASSERT_EQ(params.Checkout(0, 0, &layer, &a), PF_Err_NONE);
    EXPECT_EQ(params.outstanding_checkouts(skip_a), 0);
    EXPECT_EQ(params.outstanding_checkouts(skip_b), 1);
    EXPECT_EQ(params.Checkin(&layer, &b), PF_Err_NONE);
    EXPECT_EQ(params.outstanding_checkouts(), 0);
    EXPECT_EQ(params.Checkin(&layer, &a), PF_Err_BAD_CALLBACK_PARAM);

    WorldRegistry worlds;
    HostWorld& world = worlds.Create(2, 2, WorldDepth::k16, 0, &a);
    EXPECT_EQ(worlds.LiveCount(skip_a), 0u);
    EXPECT_EQ(worlds.LiveCount(), 1u);
    worlds.Destroy(world);
}

}  // namespace
