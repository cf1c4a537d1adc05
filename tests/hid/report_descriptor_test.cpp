#include "hid/input_layout.h"
#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace treadkey {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The boot keyboard: 8-byte input report, 5 LED bits + 3 padding bits of output.
const Bytes kBootKeyboard(BootKeyboardDescriptor().begin(), BootKeyboardDescriptor().end());
// The boot mouse: three buttons and X/Y, input only.
const Bytes kBootMouse(BootMouseDescriptor().begin(), BootMouseDescriptor().end());

// A vendor-defined collection with one output of `count` bytes (count < 0x80, one-byte Report Count).
Bytes VendorOutput(std::uint8_t count) {
    return {0x06, 0x00, 0xFF, 0x09, 0x01,  0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
            0x00, 0x75, 0x08, 0x95, count, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

const Bytes kOpenVendorCollection = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
const Bytes kEndCollection = {0xC0};

struct DescriptorCase {
    std::string name;
    Bytes descriptor;
    std::optional<int> length;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const DescriptorCase& tested, std::ostream* out) { *out << tested.name; }
};

class OutputReportLength : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(OutputReportLength, MatchesWhatTheDescriptorDeclares) {
    EXPECT_EQ(OutputReportLengthFromDescriptor(GetParam().descriptor), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    RealDevices, OutputReportLength,
    ::testing::Values(DescriptorCase{"BootKeyboardLeds", kBootKeyboard, 2},
                      DescriptorCase{"BootMouse", kBootMouse, 0},
                      DescriptorCase{"PedalTestRig",
                                     {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
                                      0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02, 0xC0},
                                     9},
                      DescriptorCase{"Vendor64", VendorOutput(64), 65},
                      // Inputs and features of any size leave the output length alone.
                      DescriptorCase{"InputAndFeatureIgnored",
                                     Concat({kOpenVendorCollection,
                                             {0x75, 0x08, 0x95, 0x7F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01,
                                              0xB1, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91, 0x02},
                                             kEndCollection}),
                                     9}),
    [](const auto& tested) { return tested.param.name; });

INSTANTIATE_TEST_SUITE_P(
    ReportIds, OutputReportLength,
    ::testing::Values(
        // Keyboard LEDs as report 1 (1 byte), vendor reports 2 (32 bytes) and 3 (3 bytes): report 2 decides.
        DescriptorCase{"LongestReportDecides",
                       Concat({{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x08, 0x19,
                                0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x05,
                                0x91, 0x02, 0x75, 0x03, 0x95, 0x01, 0x91, 0x01, 0xC0},
                               kOpenVendorCollection,
                               {0x75, 0x08, 0x85, 0x02, 0x95, 0x20, 0x09, 0x01, 0x91, 0x02, 0x85, 0x03, 0x95,
                                0x03, 0x09, 0x01, 0x91, 0x02},
                               kEndCollection}),
                       33},
        // Report 4 is declared in two pieces of 5 bytes; report 5 alone has 8.
        DescriptorCase{"PiecesOfOneReportAddUp",
                       Concat({kOpenVendorCollection,
                               {0x75, 0x08, 0x95, 0x05, 0x85, 0x04, 0x09, 0x01, 0x91, 0x02, 0x85, 0x05, 0x95,
                                0x08, 0x09, 0x01, 0x91, 0x02, 0x85, 0x04, 0x95, 0x05, 0x09, 0x01, 0x91, 0x02},
                               kEndCollection}),
                       11},
        // Push keeps report 1 (4 bytes); after Pop the next output joins it again.
        DescriptorCase{"PushPopRestoresReportId",
                       Concat({kOpenVendorCollection,
                               {0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0xA4, 0x85, 0x02, 0x95, 0x06, 0x91, 0x02,
                                0xB4, 0x91, 0x02, 0x91, 0x02},
                               kEndCollection}),
                       9}),
    [](const auto& tested) { return tested.param.name; });

INSTANTIATE_TEST_SUITE_P(
    ItemEncodings, OutputReportLength,
    ::testing::Values(
        // 9 one-bit fields still need a second byte.
        DescriptorCase{"BitsRoundUp",
                       Concat({kOpenVendorCollection, {0x75, 0x01, 0x95, 0x09, 0x91, 0x02}, kEndCollection}),
                       3},
        DescriptorCase{
            "TwoByteCount",
            Concat({kOpenVendorCollection, {0x75, 0x08, 0x96, 0x00, 0x01, 0x91, 0x02}, kEndCollection}), 257},
        DescriptorCase{"FourByteCount",
                       Concat({kOpenVendorCollection,
                               {0x75, 0x08, 0x97, 0x08, 0x00, 0x00, 0x00, 0x91, 0x02},
                               kEndCollection}),
                       9},
        // A data-less Report Count means 0: the output carries nothing.
        DescriptorCase{"EmptyCountItem",
                       Concat({kOpenVendorCollection, {0x75, 0x08, 0x94, 0x91, 0x02}, kEndCollection}), 0},
        DescriptorCase{"PushPopRestoresCount",
                       Concat({kOpenVendorCollection,
                               {0x75, 0x08, 0x95, 0x04, 0xA4, 0x95, 0x10, 0x91, 0x02, 0xB4, 0x91, 0x02},
                               kEndCollection}),
                       21},
        // The long item's data would declare a 64-byte output if it were read as items.
        DescriptorCase{"LongItemsSkipped",
                       Concat({{0xFE, 0x06, 0x10, 0x75, 0x08, 0x95, 0x40, 0x91, 0x02},
                               VendorOutput(8),
                               {0xFE, 0x00, 0x11}}),
                       9},
        DescriptorCase{
            "LargestLength",
            Concat({kOpenVendorCollection, {0x75, 0x08, 0x96, 0xFE, 0xFF, 0x91, 0x02}, kEndCollection}),
            65535}),
    [](const auto& tested) { return tested.param.name; });

Bytes WithoutLastByte(Bytes bytes) {
    bytes.pop_back();
    return bytes;
}

Bytes Pushes(int count) {
    return Bytes(static_cast<std::size_t>(count), 0xA4);
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, OutputReportLength,
    ::testing::Values(
        DescriptorCase{"Empty", {}, std::nullopt},
        DescriptorCase{"ShortItemDataCut",
                       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF},
                       std::nullopt},
        DescriptorCase{"FourByteItemDataCut", {0x97, 0x08, 0x00, 0x00}, std::nullopt},
        DescriptorCase{"LongItemHeaderCut", {0xFE, 0x02}, std::nullopt},
        DescriptorCase{"LongItemDataCut", {0xFE, 0x04, 0x10, 0x00, 0x00, 0x00}, std::nullopt},
        DescriptorCase{"CollectionNotClosed", WithoutLastByte(VendorOutput(8)), std::nullopt},
        DescriptorCase{"EndWithoutCollection", Concat({VendorOutput(8), kEndCollection}), std::nullopt},
        DescriptorCase{"PopOnEmptyStack", Concat({{0xB4}, VendorOutput(8)}), std::nullopt},
        DescriptorCase{"PushesUpToTheLimit", Concat({Pushes(16), VendorOutput(8)}), 9},
        DescriptorCase{"PushesPastTheLimit", Concat({Pushes(17), VendorOutput(8)}), std::nullopt},
        DescriptorCase{
            "ReportIdZero",
            Concat({kOpenVendorCollection, {0x85, 0x00, 0x75, 0x08, 0x95, 0x08, 0x91, 0x02}, kEndCollection}),
            std::nullopt},
        DescriptorCase{"ReportIdAbove255",
                       Concat({kOpenVendorCollection,
                               {0x86, 0x00, 0x01, 0x75, 0x08, 0x95, 0x08, 0x91, 0x02},
                               kEndCollection}),
                       std::nullopt},
        DescriptorCase{
            "OneByteTooLong",
            Concat({kOpenVendorCollection, {0x75, 0x08, 0x96, 0xFF, 0xFF, 0x91, 0x02}, kEndCollection}),
            std::nullopt},
        // Size and count both at their 32-bit maximum: the product must not wrap around.
        DescriptorCase{"HugeSizeTimesCount",
                       Concat({kOpenVendorCollection,
                               {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x91, 0x02},
                               kEndCollection}),
                       std::nullopt},
        // Two outputs of 40000 bytes each fit alone but not together.
        DescriptorCase{"PiecesAddUpPastTheLimit",
                       Concat({kOpenVendorCollection,
                               {0x75, 0x08, 0x96, 0x40, 0x9C, 0x91, 0x02, 0x91, 0x02},
                               kEndCollection}),
                       std::nullopt}),
    [](const auto& tested) { return tested.param.name; });

void ExpectUnknownOrInRange(const Bytes& descriptor, int& known, int& unknown) {
    const std::optional<int> length = OutputReportLengthFromDescriptor(descriptor);
    if (!length) {
        ++unknown;
        return;
    }
    ++known;
    EXPECT_GE(*length, 0);
    EXPECT_LE(*length, 65535);
}

TEST(OutputReportLengthFuzz, RandomBytesNeverCrashOrGoOutOfRange) {
    std::mt19937 random(20180427);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 48);
    int known = 0;
    int unknown = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes descriptor(static_cast<std::size_t>(size(random)));
        for (std::uint8_t& value : descriptor) {
            value = static_cast<std::uint8_t>(byte(random));
        }
        ExpectUnknownOrInRange(descriptor, known, unknown);
    }
    // Both outcomes must occur, or the loop proves nothing about either path.
    EXPECT_GT(known, 0);
    EXPECT_GT(unknown, 0);
}

TEST(OutputReportLengthFuzz, MutatedRealDescriptorsNeverCrashOrGoOutOfRange) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    const Bytes seed = Concat({kBootKeyboard, VendorOutput(8), kBootMouse});
    std::uniform_int_distribution<std::size_t> position(0, seed.size() - 1);
    int known = 0;
    int unknown = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes descriptor = seed;
        for (int flip = 0; flip < 3; ++flip) {
            descriptor[position(random)] = static_cast<std::uint8_t>(byte(random));
        }
        descriptor.resize(position(random) + 1);
        ExpectUnknownOrInRange(descriptor, known, unknown);
    }
    EXPECT_GT(known, 0);
    EXPECT_GT(unknown, 0);
}

const Bytes kConsumer = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x09, 0xE9, 0x09, 0xEA, 0x81, 0x02, 0xC0};
// A vendor collection that nests a keyboard-like one: only the outer one counts.
const Bytes kVendorNestingKeyboard = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x05,
                                      0x01, 0x09, 0x06, 0xA1, 0x02, 0xC0, 0xC0};
const Bytes kExtendedUsage = {0x0B, 0x01, 0x00, 0x0D, 0x00, 0xA1, 0x01, 0xC0}; // page 000D, usage 1
// Push and Pop restore the page between collections; the second collection gives no usage of its own.
const Bytes kPushedPage = {0xA4, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0xB4, 0xA1, 0x01, 0xC0};

TEST(TopLevelCollections, ListsEachOutermostCollectionWithItsPageAndFirstUsage) {
    const struct {
        const char* name;
        Bytes descriptor;
        std::vector<HidCollection> collections;
    } cases[] = {
        {"boot keyboard", kBootKeyboard, {{0x01, 0x06}}},
        {"boot mouse, its pointer nested", kBootMouse, {{0x01, 0x02}}},
        {"keyboard, then consumer control", Concat({kBootKeyboard, kConsumer}), {{0x01, 0x06}, {0x0C, 0x01}}},
        {"vendor nesting a keyboard", kVendorNestingKeyboard, {{0xFF00, 0x01}}},
        {"four-byte usage", kExtendedUsage, {{0x0D, 0x01}}},
        {"pushed and popped page", kPushedPage, {{0x0C, 0x01}, {0x00, 0x00}}},
        {"no collection", {0x05, 0x01, 0x09, 0x06}, {}},
        {"empty", {}, {}},
        {"truncated item", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x06, 0x00}, {}},
        {"end without collection", {0x05, 0x01, 0x09, 0x06, 0xC0}, {}},
        {"pop without push", {0xB4, 0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TopLevelCollectionsFromDescriptor(c.descriptor), c.collections) << c.name;
    }
}

// A descriptor and its top-level collections; nothing when every query must refuse it.
struct AgreementCase {
    std::string name;
    Bytes descriptor;
    std::optional<std::vector<HidCollection>> collections;

    friend void PrintTo(const AgreementCase& tested, std::ostream* out) { *out << tested.name; }
};

class EveryQuery : public ::testing::TestWithParam<AgreementCase> {};

TEST_P(EveryQuery, ReadsOrRefusesTheDescriptorAsTheOthersDo) {
    const AgreementCase& tested = GetParam();
    EXPECT_EQ(OutputReportLengthFromDescriptor(tested.descriptor).has_value(),
              tested.collections.has_value());
    EXPECT_EQ(InputLayoutFromDescriptor(tested.descriptor).has_value(), tested.collections.has_value());
    EXPECT_EQ(TopLevelCollectionsFromDescriptor(tested.descriptor),
              tested.collections.value_or(std::vector<HidCollection>{}));
}

Bytes InVendorCollection(const Bytes& items) {
    return Concat({kOpenVendorCollection, items, kEndCollection});
}

const std::vector<HidCollection> kVendor = {{0xFF00, 0x01}};

INSTANTIATE_TEST_SUITE_P(
    Descriptors, EveryQuery,
    ::testing::Values(
        AgreementCase{"BootKeyboard", kBootKeyboard, {{{0x01, 0x06}}}},
        AgreementCase{"BootMouse", kBootMouse, {{{0x01, 0x02}}}},
        AgreementCase{"PedalTestRig", VendorOutput(8), kVendor},
        AgreementCase{
            "KeyboardThenConsumer", Concat({kBootKeyboard, kConsumer}), {{{0x01, 0x06}, {0x0C, 0x01}}}},
        AgreementCase{"VendorNestingKeyboard", kVendorNestingKeyboard, kVendor},
        AgreementCase{"FourByteUsage", kExtendedUsage, {{{0x0D, 0x01}}}},
        AgreementCase{"PushedPage", kPushedPage, {{{0x0C, 0x01}, {0x00, 0x00}}}},
        // Report 2 inside Push and Pop, report 1 around them, each with an input and an output.
        AgreementCase{"PushedReportId",
                      InVendorCollection({0x85, 0x01, 0x75, 0x08, 0x95, 0x04, 0xA4, 0x85, 0x02, 0x95,
                                          0x06, 0x81, 0x02, 0x91, 0x02, 0xB4, 0x81, 0x02, 0x91, 0x02}),
                      kVendor},
        AgreementCase{"PushesUpToTheLimit", Concat({Pushes(16), VendorOutput(8)}), kVendor},
        AgreementCase{"NoCollection", {0x05, 0x01, 0x09, 0x06}, std::vector<HidCollection>{}},
        AgreementCase{"Empty", {}, std::nullopt},
        // The kernel refuses an unclosed collection and Report ID 0, so every query does.
        AgreementCase{"CollectionNotClosed", WithoutLastByte(VendorOutput(8)), std::nullopt},
        AgreementCase{"ReportIdZero", InVendorCollection({0x85, 0x00, 0x75, 0x08, 0x95, 0x08, 0x91, 0x02}),
                      std::nullopt},
        AgreementCase{"ItemCut", {0x05, 0x01, 0x09}, std::nullopt},
        AgreementCase{"EndWithoutCollection", Concat({VendorOutput(8), kEndCollection}), std::nullopt},
        AgreementCase{"ReportIdAbove255", InVendorCollection({0x86, 0x00, 0x01}), std::nullopt},
        AgreementCase{"PopOnEmptyStack", Concat({{0xB4}, VendorOutput(8)}), std::nullopt},
        AgreementCase{"PushesPastTheLimit", Concat({Pushes(17), VendorOutput(8)}), std::nullopt},
        // 65535 data bytes leave no room for the report id, whichever kind of report holds them.
        AgreementCase{"OutputTooLong", InVendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0x91, 0x02}),
                      std::nullopt},
        AgreementCase{"InputTooLong", InVendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0x81, 0x02}),
                      std::nullopt},
        AgreementCase{"FeatureTooLong", InVendorCollection({0x75, 0x08, 0x96, 0xFF, 0xFF, 0xB1, 0x02}),
                      std::nullopt}),
    [](const auto& tested) { return tested.param.name; });

} // namespace
} // namespace treadkey
