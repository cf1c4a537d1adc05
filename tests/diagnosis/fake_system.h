#pragma once

#include "diagnosis/acl_bytes.h"
#include "diagnosis/system_root.h"
#include "fixtures/scratch_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace treadkey::testing {

// A system laid out in a scratch folder: sysfs entries, device nodes, rule folders, udev's database and
// logind's records. The files belong to whoever runs the test; the asking user is someone else (uid 5000),
// so that the mode's group and other bits and the ACL decide, as they do for a real user and a root-owned
// node.
class FakeSystem {
public:
    static constexpr std::uint32_t kUser = 5000;

    FakeSystem() {
        system.root = scratch_ / "root";
        system.user = {kUser, {kUser}};
        system.readAcl = [this](const std::filesystem::path& path) -> std::optional<std::string> {
            const auto acl = acls_.find(path);
            return acl == acls_.end() ? std::nullopt : std::optional<std::string>(acl->second);
        };
        std::filesystem::create_directories(system.root);
        // The files' owner reads as root, the asker as alice.
        write("/etc/passwd",
              "root:x:" + std::to_string(getuid()) + ":0::/:/bin/sh\nalice:x:5000:5000::/:/bin/sh\n");
        write("/etc/group", "root:x:" + std::to_string(getgid()) + ":\nalice:x:5000:\n");
    }

    void write(const std::filesystem::path& absolute, const std::string& text) {
        const std::filesystem::path path = system.under(absolute);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    void folder(const std::filesystem::path& absolute) {
        std::filesystem::create_directories(system.under(absolute));
    }

    void link(const std::filesystem::path& absolute, const std::filesystem::path& target) {
        const std::filesystem::path path = system.under(absolute);
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::create_symlink(target, path);
    }

    // A hidraw node of a HID device, as sysfs shows it: the class entry links to the device's folder, which
    // holds the report descriptor and sits in its USB interface's folder.
    void hidraw(const std::string& name, const std::string& hidDevice, int usbInterface,
                const std::vector<std::uint8_t>& descriptor) {
        const std::string usbFolder =
            "/sys/devices/pci0000:00/usb1/1-1/1-1:1." + std::to_string(usbInterface);
        const std::string device = usbFolder + "/" + hidDevice;
        write(usbFolder + "/bInterfaceNumber", "0" + std::to_string(usbInterface) + "\n");
        write(device + "/report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        write(device + "/hidraw/" + name + "/dev", "244:" + name.substr(6) + "\n");
        link("/sys/class/hidraw/" + name, "../../devices/pci0000:00/usb1/1-1/1-1:1." +
                                              std::to_string(usbInterface) + "/" + hidDevice + "/hidraw/" +
                                              name);
        link(device + "/hidraw/" + name + "/device", "../..");
    }

    void node(const std::string& name, unsigned mode) {
        write("/dev/" + name, "");
        chmod(system.under("/dev/" + name).c_str(), mode);
    }

    // The ACL udev's uaccess has logind put on a node: the asker may read and write.
    void aclForUser(const std::string& name) { acls_[system.under("/dev/" + name)] = AclForUser(kUser); }
    void acl(const std::string& name, const std::vector<AclEntry>& entries) {
        acls_[system.under("/dev/" + name)] = AclBytes(entries);
    }

    void session(const std::string& id, const std::string& record) {
        write("/run/systemd/sessions/" + id, "UID=" + std::to_string(kUser) + "\n" + record);
    }

    SystemRoot system;

private:
    ScratchDirectory scratch_;
    std::map<std::filesystem::path, std::string> acls_;
};

} // namespace treadkey::testing
