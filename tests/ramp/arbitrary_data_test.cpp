// "Color Ramp" values through the host's arbitrary-data requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/pf_handle_suite.h"
#include "hostsim/arbitrary_data_client.h"
#include "kernel/color_ramp.h"
#include "tests/support/plugin_host_fixture.h"

namespace {

using namespace hostsim;

void* const kRefcon = reinterpret_cast<void*>(0xDEADBEEF);

RampStop Stop(float position, float red, float green, float blue, float alpha = 1.0f) {
    return RampStop{position, red, green, blue, alpha};
}

}  // namespace

class ArbitraryData : public PluginHostTest {
  protected:
    void SetUp() override {
        PluginHostTest::SetUp();
        client_ = std::make_unique<ArbitraryDataClient>(host(), kRefcon);
    }
    ArbitraryDataClient& arb() { return *client_; }

    ColorRamp Read(PF_Handle handle) {
        ColorRamp ramp;
        const std::vector<uint8_t> bytes = handles().Bytes(handle);
        EXPECT_EQ(bytes.size(), sizeof ramp);
        std::memcpy(&ramp, bytes.data(), sizeof ramp);
        return ramp;
    }
    void Write(PF_Handle handle, const ColorRamp& ramp) {
        void* block = handles().Lock(handle);
        ASSERT_NE(block, nullptr);
        std::memcpy(block, &ramp, sizeof ramp);
        handles().Unlock(handle);
    }
    PF_Handle Make(const ColorRamp& ramp) {
        const auto made = arb().New();
        EXPECT_EQ(made.err, PF_Err_NONE);
        Write(made.handle, ramp);
        return made.handle;
    }
    static ColorRamp Ramp(std::initializer_list<RampStop> stops) {
        ColorRamp ramp;
        InitDefaultRamp(&ramp);
        ramp.stop_count = static_cast<int>(stops.size());
        int i = 0;
        for (const RampStop& s : stops) ramp.stops[i++] = s;
        return ramp;
    }
    std::string PrintInto(PF_Handle handle, A_u_long size) {
        std::vector<char> buffer(size + 1, '#');
        buffer[size] = '\0';
        EXPECT_EQ(arb().Print(handle, buffer.data(), size), PF_Err_NONE);
        return std::string(buffer.data());
    }
    void DisposeAll(std::initializer_list<PF_Handle> list) {
        for (PF_Handle h : list) EXPECT_EQ(arb().Dispose(h), PF_Err_NONE);
    }

  private:
    std::unique_ptr<ArbitraryDataClient> client_;
};

TEST_F(ArbitraryData, NewChecksTheRefconAndNewOrCopyOfNothingIsTheDefaultRamp) {
    EXPECT_EQ(arb().NewWithRefcon(nullptr).err, PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_EQ(arb().NewWithRefcon(reinterpret_cast<void*>(0xDEADBEEE)).handle, nullptr);
    EXPECT_EQ(handles().LiveCount(), 0u);

    const auto made = arb().New();
    ASSERT_EQ(made.err, PF_Err_NONE);
    ColorRamp expected;
    InitDefaultRamp(&expected);
    const ColorRamp got = Read(made.handle);
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0);
    EXPECT_CLEAN(arb().last());
    EXPECT_EQ(arb().Dispose(made.handle), PF_Err_NONE);
    EXPECT_FALSE(handles().IsLive(made.handle));

    // A copy of no value is the default ramp too, without touching the missing source.
    const auto copy = arb().Copy(nullptr);
    ASSERT_EQ(copy.err, PF_Err_NONE);
    const ColorRamp copied = Read(copy.handle);
    EXPECT_EQ(std::memcmp(&copied, &expected, sizeof copied), 0);
    EXPECT_CLEAN(arb().last());
    DisposeAll({copy.handle});
}

// The print size is answered through the request's own member, inside the record.
TEST_F(ArbitraryData, SizesAreFixed) {
    PF_Handle h = Make(Ramp({Stop(0, 0, 0, 0), Stop(1, 1, 1, 1)}));
    EXPECT_EQ(arb().FlatSize(h).size, 328u);
    EXPECT_EQ(arb().PrintSize(h).size, 2048u);
    EXPECT_EQ(arb().last().err, PF_Err_NONE);
    EXPECT_EQ(arb().last().audit.record_overruns, 0);
    EXPECT_EQ(arb().FlatSize(nullptr).size, 328u);
    DisposeAll({h});
}

TEST_F(ArbitraryData, FlattenUnflattenRoundTripKeepsEveryByte) {
    ColorRamp ramp = Ramp({Stop(0.1f, 0.2f, 0.3f, 0.4f, 0.5f), Stop(0.9f, 1, 0, 1)});
    ramp.stops[7] = Stop(123.0f, -4.0f, std::numeric_limits<float>::quiet_NaN(), 9, 9);
    PF_Handle original = Make(ramp);
    std::vector<uint8_t> flat(328, 0);
    ASSERT_EQ(arb().Flatten(original, flat.data(), 328), PF_Err_NONE);
    EXPECT_EQ(flat, handles().Bytes(original));
    EXPECT_EQ(std::memcmp(flat.data(), "QXWV", 4), 0);

    const auto restored = arb().Unflatten(flat.data(), 328);
    ASSERT_EQ(restored.err, PF_Err_NONE);
    EXPECT_EQ(handles().Bytes(restored.handle), flat);
    EXPECT_EQ(arb().Compare(original, restored.handle).result, PF_ArbCompare_EQUAL);
    EXPECT_CLEAN(arb().last());

    const auto copy = arb().Copy(original);
    ASSERT_EQ(copy.err, PF_Err_NONE);
    EXPECT_EQ(handles().Bytes(copy.handle), flat);
    DisposeAll({original, restored.handle, copy.handle});
}

TEST_F(ArbitraryData, WrongFlatSizesAreIgnored) {
    PF_Handle h = Make(Ramp({Stop(0, 1, 1, 1)}));
    std::vector<uint8_t> buffer(400, 0xEE);
    for (A_u_long size : {0u, 4u, 327u, 329u, 400u}) {
        EXPECT_EQ(arb().Flatten(h, buffer.data(), size), PF_Err_NONE);
        const auto made = arb().Unflatten(buffer.data(), size);
        EXPECT_EQ(made.err, PF_Err_NONE);
        EXPECT_EQ(made.handle, nullptr);
    }
    EXPECT_EQ(buffer, std::vector<uint8_t>(400, 0xEE));
    EXPECT_EQ(arb().Unflatten(nullptr, 328).handle, nullptr);
    EXPECT_EQ(handles().LiveCount(), 1u);
    DisposeAll({h});
}

TEST_F(ArbitraryData, CompareOrdersAllBytesIncludingUnusedSlots) {
    ColorRamp a = Ramp({Stop(0, 1, 1, 1)});
    ColorRamp b = a;
    reinterpret_cast<uint8_t*>(&b)[300] = 0x01;  // inside an unused slot
    PF_Handle ha = Make(a);
    PF_Handle hb = Make(b);
    EXPECT_EQ(arb().Compare(ha, hb).result, PF_ArbCompare_LESS);
    EXPECT_EQ(arb().Compare(hb, ha).result, PF_ArbCompare_MORE);
    EXPECT_EQ(arb().Compare(ha, ha).result, PF_ArbCompare_EQUAL);
    // Unsigned: 0x80 sorts after 0x01.
    reinterpret_cast<uint8_t*>(&a)[300] = 0x80;
    Write(ha, a);
    EXPECT_EQ(arb().Compare(ha, hb).result, PF_ArbCompare_MORE);
    EXPECT_CLEAN(arb().last());
    DisposeAll({ha, hb});
}

TEST_F(ArbitraryData, InterpolationMatchesStopsByIndex) {
    PF_Handle left = Make(Ramp({Stop(0, 0, 0, 0, 0.5f), Stop(0.5f, 1, 0, 0), Stop(1, 0, 0, 1)}));
    PF_Handle right = Make(Ramp({Stop(0.2f, 1, 1, 1), Stop(0.7f, 0, 1, 0)}));

    const auto half = arb().Interpolate(left, right, 0.5);
    ASSERT_EQ(half.err, PF_Err_NONE);
    ColorRamp got = Read(half.handle);
    EXPECT_EQ(got.stop_count, 3);
    EXPECT_FLOAT_EQ(got.stops[0].position, 0.1f);
    EXPECT_FLOAT_EQ(got.stops[0].red, 0.5f);
    EXPECT_FLOAT_EQ(got.stops[1].position, 0.6f);
    EXPECT_FLOAT_EQ(got.stops[1].green, 0.5f);
    EXPECT_FLOAT_EQ(got.stops[2].position, 1.0f);
    EXPECT_FLOAT_EQ(got.stops[2].blue, 1.0f);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(got.stops[i].alpha, 1.0f) << i;

    const auto end = arb().Interpolate(left, right, 1.0);
    got = Read(end.handle);
    EXPECT_EQ(got.stop_count, 3);
    EXPECT_EQ(got.stops[1].position, 0.7f);
    EXPECT_EQ(got.stops[2].position, 1.0f);

    // The count follows the left keyframe: right's extra stops are dropped.
    const auto reversed = arb().Interpolate(right, left, 0.0);
    got = Read(reversed.handle);
    EXPECT_EQ(got.stop_count, 2);
    EXPECT_EQ(got.stops[0].position, 0.2f);
    EXPECT_EQ(got.stops[2].position, 0.0f);  // default ramp's untouched slot
    EXPECT_CLEAN(arb().last());
    DisposeAll({left, right, half.handle, end.handle, reversed.handle});
}

TEST_F(ArbitraryData, PrintWritesEveryStopWithinTheBuffer) {
    PF_Handle h = Make(Ramp({Stop(0, 0, 0, 0), Stop(1, 1, 1, 1)}));
    const std::string full = "S0:0.000,0.000,0.000,0.000|S1:1.000,1.000,1.000,1.000|";
    EXPECT_EQ(PrintInto(h, 2048), full);
    // A piece goes in only while text, piece and terminator stay below the size.
    EXPECT_EQ(PrintInto(h, static_cast<A_u_long>(full.size() + 2)), full);
    EXPECT_EQ(PrintInto(h, static_cast<A_u_long>(full.size() + 1)), "S0:0.000,0.000,0.000,0.000|");
    EXPECT_EQ(PrintInto(h, 20), "");
    EXPECT_EQ(PrintInto(h, 3), "###");  // below 4 bytes: untouched
    EXPECT_EQ(PrintInto(nullptr, 64), std::string(64, '#'));

    PF_Handle standard = arb().New().handle;
    EXPECT_EQ(PrintInto(standard, 2048), "S0:0.000,1.000,1.000,1.000|");
    DisposeAll({h, standard});
}

TEST_F(ArbitraryData, ScanReadsBackWhatPrintWrote) {
    std::mt19937 random(20);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> counts(1, kMaxRampStops);
    for (int trial = 0; trial < 200; ++trial) {
        ColorRamp ramp = Ramp({});
        ramp.stop_count = counts(random);
        for (int i = 0; i < ramp.stop_count; ++i) {
            // Some values on the three-decimal grid, most not; a few outside [0, 1].
            const float scale = trial % 7 == 0 ? 40.0f : 1.0f;
            ramp.stops[i] =
                Stop(unit(random), unit(random) * scale, unit(random),
                     trial % 3 == 0 ? std::round(unit(random) * 1000) / 1000 : unit(random));
        }
        PF_Handle printed = Make(ramp);
        const std::string text = PrintInto(printed, 2048);
        const auto scanned = arb().Scan(text);
        ASSERT_EQ(scanned.err, PF_Err_NONE) << text;
        const ColorRamp got = Read(scanned.handle);
        EXPECT_EQ(std::memcmp(&got, &ramp, sizeof got), 0) << text;
        DisposeAll({printed, scanned.handle});
    }
    // The default ramp still prints as it always did, and pasted text may end in a line break.
    ColorRamp standard;
    InitDefaultRamp(&standard);
    const auto pasted = arb().Scan("S0:0.000,1.000,1.000,1.000|\n");
    ASSERT_EQ(pasted.err, PF_Err_NONE);
    const ColorRamp got = Read(pasted.handle);
    EXPECT_EQ(std::memcmp(&standard, &got, sizeof standard), 0);
    DisposeAll({pasted.handle});
    EXPECT_CLEAN(arb().last());
}

TEST_F(ArbitraryData, UnreadableTextGivesTheHostsErrorAndNoValue) {
    std::string seventeen;
    for (int i = 0; i < 17; ++i) seventeen += "S" + std::to_string(i) + ":0,0,0,0|";
    for (const std::string& text :
         {std::string(), std::string("garbage"), std::string("S0:0.5,0,0|"),
          std::string("S1:0.5,0,0,0|"), std::string("S0:0.5,0,0,0|S0:1,1,1,1|"),
          std::string("S0:0.5,0,0,0"), std::string("S0:0.5,0,0,x|"), std::string("S0: 0.5,0,0,0|"),
          seventeen}) {
        const size_t live = handles().LiveCount();
        const auto scanned = arb().Scan(text);
        EXPECT_EQ(scanned.err, PF_Err_CANNOT_PARSE_KEYFRAME_TEXT) << text;
        EXPECT_EQ(scanned.handle, nullptr) << text;
        EXPECT_EQ(handles().LiveCount(), live);
    }
    // Only the bytes the host counts are read, whatever follows them.
    const std::string longer = "S0:0.25,1,0,0|S1:garbage";
    PF_ArbParamsExtra extra{};
    extra.which_function = PF_Arbitrary_SCAN_FUNC;
    PF_Handle handle = nullptr;
    extra.u.scan_func_params.bufPC = longer.c_str();
    extra.u.scan_func_params.bytes_to_scanLu = 14;
    extra.u.scan_func_params.arbPH = &handle;
    ASSERT_EQ(arb().Send(extra), PF_Err_NONE);
    EXPECT_EQ(Read(handle).stop_count, 1);
    EXPECT_EQ(Read(handle).stops[0].position, 0.25f);
    DisposeAll({handle});
    EXPECT_CLEAN(arb().last());
}

TEST_F(ArbitraryData, DamagedStoredDataStaysInBounds) {
    ColorRamp damaged = Ramp({});
    const float huge = std::numeric_limits<float>::max();
    for (int i = 0; i < kMaxRampStops; ++i) {
        damaged.stops[i] = Stop(-huge, huge, std::numeric_limits<float>::quiet_NaN(), -huge);
    }
    for (int count : {17, 1000000, -1, std::numeric_limits<int>::min()}) {
        damaged.stop_count = count;
        const auto stored = arb().Unflatten(&damaged, 328);
        ASSERT_EQ(stored.err, PF_Err_NONE);
        std::vector<char> text(2048, '#');
        EXPECT_EQ(arb().Print(stored.handle, text.data(), 2048), PF_Err_NONE);
        EXPECT_LT(std::strlen(text.data()), 2048u);
        if (count > 0) {
            // Pieces of about 141 bytes each: the fourteen that fit go in whole.
            const std::string printed = text.data();
            EXPECT_EQ(printed.back(), '|');
            EXPECT_EQ(std::count(printed.begin(), printed.end(), '|'), 14);
        }
        const auto mixed = arb().Interpolate(stored.handle, stored.handle, 0.25);
        EXPECT_EQ(Read(mixed.handle).stop_count, count);
        DisposeAll({stored.handle, mixed.handle});
    }
    EXPECT_CLEAN(arb().last());
}

TEST_F(ArbitraryData, UnknownSelectorsDoNothing) {
    for (PF_FunctionSelector selector : {11, 12, 1000, -1}) {
        PF_ArbParamsExtra extra{};
        extra.which_function = selector;
        EXPECT_EQ(arb().Send(extra), PF_Err_NONE);
        EXPECT_EQ(suites().CountsFor(kPFHandleSuite, kPFHandleSuiteVersion1).acquires, 0);
    }
}

TEST_F(ArbitraryData, AllocationAndLockFailures) {
    handles().FailAllocation(1);
    EXPECT_EQ(arb().New().err, PF_Err_OUT_OF_MEMORY);
    handles().FailLock(1);
    EXPECT_EQ(arb().New().err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(handles().LiveCount(), 0u);  // the unlockable handle was disposed
    handles().FailAllocation(1);
    EXPECT_EQ(arb().Scan("S0:0.5,1,1,1|").err, PF_Err_OUT_OF_MEMORY);
    EXPECT_CLEAN(arb().last());

    PF_Handle source = Make(Ramp({Stop(0.5f, 0.1f, 0.2f, 0.3f)}));
    handles().FailLock(2);  // New's own lock succeeds, the source's fails
    EXPECT_EQ(arb().Copy(source).err, PF_Err_OUT_OF_MEMORY);
    handles().FailLock(3);  // the destination's
    const auto copy = arb().Copy(source);
    EXPECT_EQ(copy.err, PF_Err_OUT_OF_MEMORY);

    std::vector<uint8_t> flat(328, 0xEE);
    handles().FailLock(1);
    EXPECT_EQ(arb().Flatten(source, flat.data(), 328), PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(flat, std::vector<uint8_t>(328, 0xEE));
    handles().FailLock(1);
    const auto unflat = arb().Unflatten(flat.data(), 328);
    EXPECT_EQ(unflat.err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(unflat.handle, nullptr);

    handles().FailLock(2);  // left keyframe: the result keeps the default ramp
    const auto mixed = arb().Interpolate(source, source, 0.5);
    EXPECT_EQ(mixed.err, PF_Err_NONE);
    EXPECT_EQ(Read(mixed.handle).stops[0].position, 0.0f);

    handles().FailLock(1);
    EXPECT_EQ(PrintInto(source, 64), "");
    EXPECT_CLEAN(arb().last());
    DisposeAll({source, mixed.handle});
    for (PF_Handle h : {copy.handle}) {
        if (h != nullptr) DisposeAll({h});
    }
}

TEST_F(ArbitraryData, MissingHandleSuiteGives516) {
    PF_Handle h = Make(Ramp({Stop(0, 1, 1, 1)}));
    Withhold(kPFHandleSuite, kPFHandleSuiteVersion1);
    EXPECT_EQ(arb().New().err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(arb().Copy(h).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(arb().Compare(h, h).err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(arb().Dispose(h), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_CLEAN(arb().last());
    suites().SetAvailability(kPFHandleSuite, kPFHandleSuiteVersion1,
                             SuiteRegistry::Availability::kProvided);
    DisposeAll({h});
}

TEST_F(ArbitraryData, RequestsFromSeveralHostThreadsShareNothing) {
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            ArbitraryDataClient client(host(), kRefcon);
            for (int i = 0; i < 50; ++i) {
                const auto a = client.New();
                std::vector<uint8_t> flat(328);
                if (client.Flatten(a.handle, flat.data(), 328) != PF_Err_NONE) ++failures;
                flat[8] = static_cast<uint8_t>(t);
                const auto b = client.Unflatten(flat.data(), 328);
                const auto mixed = client.Interpolate(a.handle, b.handle, 0.5);
                if (client.Compare(b.handle, b.handle).result != PF_ArbCompare_EQUAL) ++failures;
                for (PF_Handle h : {a.handle, b.handle, mixed.handle}) client.Dispose(h);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(handles().LiveCount(), 0u);
}
