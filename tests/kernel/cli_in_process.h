#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <streambuf>
#include <string>
#include <vector>

// treadkeyctl run in the test's own process over the hidapi backend, as the guest tests run it.
namespace treadkey::kerneltest {

// What a run writes to standard error, taken as it comes, so that another thread can wait for a line of it.
class SharedText : public std::streambuf {
public:
    std::string Text();
    // Whether `part` turned up within `longest`.
    bool WaitFor(const std::string& part, std::chrono::seconds longest);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    std::mutex mutex_;
    std::condition_variable grew_;
    std::string text_;
};

struct CliOutcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct CliRun {
    // Records and nicknames in the state directory the environment gives, as the program keeps them when
    // started from a shell; otherwise in a folder of the run's own, so that no run reads another's record.
    bool keepsRecords = false;
    SharedText* err = nullptr; // standard error as it comes; the outcome's err holds it as well
};

CliOutcome RunCli(const std::vector<std::string>& arguments, const CliRun& run = {});

} // namespace treadkey::kerneltest
