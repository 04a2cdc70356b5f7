// The one shape of an expected failure: a function that can fail for a reason
// the operator must read (a file missing, a database not the engine's, a
// refused line) returns Result<T>, or Status when it has no value, and the
// caller reads ok() before the value. Programmer errors are not failures:
// they are asserted (format/base/check.h).
#pragma once

#include <string>
#include <utility>
#include <variant>

#include "format/base/check.h"

namespace velmora {

struct Failure {
    std::string message;
};

inline Failure fail(std::string message) { return Failure{std::move(message)}; }

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() {
        VELMORA_ASSERT(ok());
        return std::get<0>(state_);
    }
    const T& value() const {
        VELMORA_ASSERT(ok());
        return std::get<0>(state_);
    }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }

    const std::string& failure() const {
        VELMORA_ASSERT(!ok());
        return std::get<1>(state_).message;
    }

private:
    std::variant<T, Failure> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), failure_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& failure() const {
        VELMORA_ASSERT(failed_);
        return failure_;
    }

private:
    bool failed_ = false;
    std::string failure_;
};

using Status = Result<void>;

}  // namespace velmora
