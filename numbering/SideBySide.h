#pragma once
// Two independent halves of one piece of work, the second on a thread of its own: nearly every
// machine has two cores or more, and the large passes of a numbering run are the ones worth
// sharing. Where no thread can be started, the halves run one after the other.

#include <cstddef>
#include <system_error>
#include <thread>

namespace wemb {

// Runs work(0) and, where `parts` is 2, work(1); returns once both are done. The work must not
// throw: it moves what is already in memory.
template <class Work>
void sideBySide(std::size_t parts, Work& work) {
    if (parts < 2) {
        work(0);
        return;
    }
    std::jthread second;
    try {
        second = std::jthread([&work] { work(1); });
    } catch (const std::system_error&) {
        work(1);
    }
    work(0);
}

}  // namespace wemb
