#pragma once

#include <utility>

// Runs a function when the scope ends, on every path out of it (returns and exceptions alike).
template <typename F> class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { m_f(); }

private:
    F m_f;
};
