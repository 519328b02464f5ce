#pragma once
// Two independent halves of one piece of work, the second on a thread of its own: nearly every
// machine has two cores or more, and the large passes of a numbering run are the ones worth
// sharing. Where no thread can be started, the halves run one after the other.

#include <cstddef>
#include <new>
#include <system_error>
#include <thread>

namespace wemb {

// Runs work(0) and, where `parts` is 2, work(1); returns once both are done. work(1), which may
// run on a thread of its own, must not throw; work(0) may: the other half is waited for before
// the exception leaves.
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

// Does `work` here and, for a large input, `makeRoom` on another core meanwhile: the arrays a
// large input needs later are fresh memory, whose first touch costs more than what is done with
// them, and a core with nothing else to do can take that cost. Where `makeRoom` cannot have its
// memory, it leaves the arrays as they are, to be made where they are needed.
template <class Work, class MakeRoom>
void withRoomMadeAside(bool large, Work&& work, MakeRoom&& makeRoom) {
    auto side = [&](std::size_t part) {
        if (part == 0) {
            work();
            return;
        }
        try {
            makeRoom();
        } catch (const std::bad_alloc&) {
        }
    };
    sideBySide(large ? 2 : 1, side);
}

}  // namespace wemb
