#pragma once

#include "fixtures/scratch_directory.h"
#include "form_fixture.h"
#include "record/record_file.h"

namespace treadkey::testing {

// The window keeping its records in a scratch state directory.
class WindowRecord : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        stateDirectory = scratch / "state";
    }
    std::filesystem::path RecordFile() const {
        return PedalRecordFile(*stateDirectory, "usb-1-1"); // the fake pedal's identity
    }
    PedalRecord Recorded() const {
        const LoadedRecord loaded = LoadPedalRecord(RecordFile(), "");
        EXPECT_EQ(loaded.warning + loaded.error, "");
        return loaded.record;
    }

    ScratchDirectory scratch;
};

} // namespace treadkey::testing
