#pragma once

#include <cstdlib>
#include <string>

namespace testing {

// Sets an environment variable (or unsets it, for a null value) while it lives, then puts back what
// was there before.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : _name(name) {
        const char* old = std::getenv(name);
        _had = old != nullptr;
        _old = old != nullptr ? old : "";
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (_had) {
            ::setenv(_name.c_str(), _old.c_str(), 1);
        } else {
            ::unsetenv(_name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string _name;
    std::string _old;
    bool _had = false;
};

}  // namespace testing
