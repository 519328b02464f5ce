#pragma once
// The result of a read: the value read, or the reason it could not be read. Success is not a
// reason, so a caller never meets an error that means "no error".

#include <utility>
#include <variant>

#include "reading/FileError.h"

namespace wemb {

// The value of a read that fills its target in place.
struct Loaded {};

template <typename T = Loaded>
class [[nodiscard]] ReadResult {
  public:
    ReadResult() : state_(T{}) {}
    ReadResult(T value) : state_(std::move(value)) {}
    ReadResult(FileError error) : state_(std::move(error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const FileError& error() const& { return std::get<1>(state_); }
    FileError&& error() && { return std::get<1>(std::move(state_)); }

  private:
    std::variant<T, FileError> state_;
};

}  // namespace wemb
