#pragma once

#include <functional>
#include <optional>
#include <string>

namespace mardo {

class CModel;

// The thread a run session simulates on. The operating system's side lives outside the core:
// the program's thread has a stack sized for the model, a test's may be a plain thread. One
// thread object serves one simulation after another.
class IRunThread {
public:
    virtual ~IRunThread() = default;

    // Starts the work for the model, which passed the model check. Answers nothing when it
    // runs, or the message that tells the user why it does not.
    virtual std::optional<std::string> Start(const CModel& model, std::function<void()> work) = 0;
    // Waits for the work to end. Everything it did is visible afterwards.
    virtual void Join() = 0;
};

}  // namespace mardo
