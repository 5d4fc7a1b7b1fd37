// The library as the host sees it before any command: its exports and its registration.
#include <gtest/gtest.h>

#include "host/pf_plugin_data.h"
#include "hostsim/host_services.h"
#include "hostsim/plugin_library.h"
#include "tests/support/elf_dynamic_symbols.h"

TEST(LibraryBoundary, ExportsExactlyTheThreeEntrySymbols) {
    const std::set<std::string> expected = {"EffectMain", "PluginDataEntryFunction",
                                            "NvOptimusEnablementCuda"};
    EXPECT_EQ(DefinedDynamicSymbols(SPIROVAULT_PLUGIN_PATH), expected);
}

TEST(LibraryBoundary, LoadsWithoutAnyGpuRuntime) {
    // OpenCL and the CUDA driver are opened when a device needs them, so the library loads (and
    // renders on the CPU) where neither is installed.
    for (const std::string& library : NeededLibraries(SPIROVAULT_PLUGIN_PATH)) {
        EXPECT_EQ(library.find("OpenCL"), std::string::npos) << library;
        EXPECT_EQ(library.find("libcuda"), std::string::npos) << library;
    }
}

TEST(LibraryBoundary, RegistersOnceWithItsIdentity) {
    hostsim::PluginLibrary library(SPIROVAULT_PLUGIN_PATH);
    ASSERT_NE(library.optimus_flag(), nullptr);
    EXPECT_EQ(*library.optimus_flag(), 1);

    hostsim::PluginRegistration registration;
    EXPECT_EQ(library.Register(hostsim::HostServices::BasicSuite(), &registration), PF_Err_NONE);
    EXPECT_EQ(registration.calls, 1);
    EXPECT_EQ(registration.host_pointer, &registration);
    EXPECT_EQ(registration.name, "Spirovault");
    EXPECT_EQ(registration.match_name, "ADBE Spirovault");
    EXPECT_EQ(registration.category, "Thalwick");
    EXPECT_EQ(registration.entry_point, "EffectMain");
    EXPECT_EQ(registration.kind, 0x65464B54);
    EXPECT_EQ(registration.api_version_major, 13);
    EXPECT_EQ(registration.api_version_minor, 27);
    EXPECT_EQ(registration.reserved_info, 8);
}

TEST(LibraryBoundary, RegistrationReturnsTheCallbacksResult) {
    hostsim::PluginLibrary library(SPIROVAULT_PLUGIN_PATH);
    // A null host pointer makes the standalone callback refuse; the refusal comes back as is.
    hostsim::PluginRegistration* no_record = nullptr;
    EXPECT_EQ(library.Register(nullptr, no_record), PF_Err_BAD_CALLBACK_PARAM);
}

TEST(LibraryBoundary, MissingLibraryIsReportedByName) {
    try {
        hostsim::PluginLibrary library("/nonexistent/spirovault.so");
        FAIL() << "loaded a missing library";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/spirovault.so"), std::string::npos);
    }
}
