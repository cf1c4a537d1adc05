// The Windows backend: Windows' own HID class driver through setupapi.dll, hid.dll and kernel32, and Raw
// Input for what the pedal's keyboard and mouse send (raw_input_reader.cpp). Only the calls live here; what
// their records mean is in windows_hid_records.cpp.
#include "stacks/platform_backend.h"
#include "stacks/windows/raw_input_reader.h"
#include "stacks/windows/windows_hid_records.h"

// <windows.h> defines "interface" as a macro: no variable here takes that name.
#include <windows.h>

#include <cfgmgr32.h>
#include <setupapi.h>

// hidsdi.h defines the USAGE type that hidpi.h, which it includes, needs.
extern "C" {
#include <hidsdi.h>
}

#include <vector>

namespace treadkey {
namespace {

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// Without read or write access the system lets any program open any HID interface, keyboards and mice
// included, far enough to ask for its ids and capabilities.
FileHandle OpenForQuery(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), 0, kShareReadWrite, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::optional<HIDP_CAPS> ReadCaps(HANDLE handle) {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(handle, &preparsed)) {
        return std::nullopt;
    }
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS) {
        return std::nullopt;
    }
    return caps;
}

std::vector<HidCollection> ReadCollections(HANDLE handle) {
    const std::optional<HIDP_CAPS> caps = ReadCaps(handle);
    return windows_hid::CollectionsFromCaps(
        caps ? std::optional<HidCollection>({caps->UsagePage, caps->Usage}) : std::nullopt);
}

// The serial number the interface's device reports; empty when it reports none.
std::string SerialNumber(HANDLE handle) {
    std::vector<wchar_t> text(127, L'\0'); // the longest USB string, and its terminator
    if (!HidD_GetSerialNumberString(handle, text.data(),
                                    static_cast<ULONG>((text.size() - 1) * sizeof(wchar_t)))) {
        return {};
    }
    std::string serial;
    for (const wchar_t c : text) {
        if (c == L'\0') {
            break;
        }
        serial += c < 0x80 ? static_cast<char>(c) : '_';
    }
    return serial;
}

// The device nodes above `node`, nearest first, as far as the root.
std::vector<windows_hid::DeviceNode> Ancestors(DEVINST node) {
    std::vector<windows_hid::DeviceNode> ancestors;
    DEVINST parent = 0;
    while (CM_Get_Parent(&parent, node, 0) == CR_SUCCESS) {
        windows_hid::DeviceNode& entry = ancestors.emplace_back();
        std::vector<char> text(MAX_DEVICE_ID_LEN + 1, '\0');
        if (CM_Get_Device_IDA(parent, text.data(), MAX_DEVICE_ID_LEN, 0) == CR_SUCCESS) {
            entry.instanceId = text.data();
        }
        std::fill(text.begin(), text.end(), '\0');
        ULONG size = MAX_DEVICE_ID_LEN;
        if (CM_Get_DevNode_Registry_PropertyA(parent, CM_DRP_LOCATION_INFORMATION, nullptr, text.data(),
                                              &size, 0) == CR_SUCCESS) {
            entry.location = text.data();
        }
        node = parent;
    }
    return ancestors;
}

// The interface's path; `device` is filled with the device node it belongs to.
std::optional<std::string> InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData,
                                         SP_DEVINFO_DATA& device) {
    DWORD needed = 0;
    SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &needed, nullptr);
    if (needed <= windows_hid::kDetailPathOffset) {
        return std::nullopt;
    }
    // One byte more than asked for and zeroed: the path is terminated even if the record is not.
    std::vector<std::uint8_t> record(needed + 1, 0);
    auto* const detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(record.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    device.cbSize = sizeof device;
    if (!SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, needed, &needed, &device)) {
        return std::nullopt;
    }
    return windows_hid::PathFromDetailRecord(record);
}

class WindowsHidDevice : public HidDevice {
public:
    explicit WindowsHidDevice(HANDLE handle) : handle_(handle) {}

    std::optional<int> outputReportLength() override {
        const std::optional<HIDP_CAPS> caps = ReadCaps(handle_.get());
        if (!caps) {
            return std::nullopt;
        }
        return caps->OutputReportByteLength;
    }

    int write(std::span<const std::uint8_t> report) override {
        DWORD written = 0;
        if (!WriteFile(handle_.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr)) {
            return -1;
        }
        return static_cast<int>(written);
    }

    // Input reports are not read through this handle: it is opened without overlapped I/O, so a read could
    // not be bounded, and the interfaces that send them, the pedal's keyboard and mouse, are read through Raw
    // Input (openReadOnly).
    int read(std::span<std::uint8_t>, int) override { return -1; }

    // hid.dll hands out only the parsed form of a descriptor.
    std::optional<std::vector<std::uint8_t>> reportDescriptor() override { return std::nullopt; }

private:
    FileHandle handle_;
};

class WindowsBackend : public HidBackend {
public:
    std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId,
                                        std::uint16_t wantedProductId) override {
        std::vector<HidInterface> interfaces;
        GUID hidClass;
        HidD_GetHidGuid(&hidClass);
        const HDEVINFO set =
            SetupDiGetClassDevsA(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE) {
            return interfaces;
        }
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidClass, index, &interfaceData);
             ++index) {
            SP_DEVINFO_DATA device{};
            const std::optional<std::string> path = InterfacePath(set, interfaceData, device);
            if (!path) {
                continue;
            }
            // An interface that does not open or will not tell its ids is listed with ids 0.
            HidInterface& listed = interfaces.emplace_back();
            listed.path = *path;
            const FileHandle handle = OpenForQuery(*path);
            HIDD_ATTRIBUTES attributes{};
            attributes.Size = sizeof attributes;
            if (!handle.valid() || !HidD_GetAttributes(handle.get(), &attributes)) {
                continue;
            }
            listed.vendorId = attributes.VendorID;
            listed.productId = attributes.ProductID;
            // The user's other devices need not be looked at closer.
            if (listed.vendorId == wantedVendorId && listed.productId == wantedProductId) {
                listed.collections = ReadCollections(handle.get());
                listed.pedal = windows_hid::PedalIdentityFromAncestors(SerialNumber(handle.get()),
                                                                       Ancestors(device.DevInst));
            }
        }
        SetupDiDestroyDeviceInfoList(set);
        return interfaces;
    }

    OpenResult open(const std::string& path) override {
        const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareReadWrite,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            HidInterface refused{path, 0, 0, {}};
            if (const FileHandle query = OpenForQuery(path); query.valid()) {
                refused.collections = ReadCollections(query.get());
            }
            return windows_hid::OpenFailureFor(refused, error);
        }
        return {std::make_unique<WindowsHidDevice>(handle), ""};
    }

    // The system keeps keyboards and mice from HID readers and hands their input over through Raw Input
    // instead. The configuration interface sends nothing the program reads.
    OpenResult openReadOnly(const std::string& path) override {
        const FileHandle query = OpenForQuery(path);
        if (!query.valid()) {
            return windows_hid::OpenFailureFor({path, 0, 0, {}}, GetLastError());
        }
        const std::optional<windows_hid::RawInputKind> kind =
            windows_hid::RawInputKindOf(ReadCollections(query.get()));
        if (!kind) {
            return RefusedOpen(path, OpenFailure::NotOffered, {});
        }
        return windows_hid::OpenRawInputReader(path, *kind);
    }
};

} // namespace

std::unique_ptr<HidBackend> MakePlatformBackend() {
    return std::make_unique<WindowsBackend>();
}

} // namespace treadkey
