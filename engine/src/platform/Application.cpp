#include "engine/platform/Application.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/base/Director.h"
#include "engine/base/Log.h"

namespace cocos2d {
namespace {

Application*& instanceSlot() {
    static Application* instance = nullptr;
    return instance;
}

std::string& appNameSlot() {
    static std::string name;
    return name;
}

}  // namespace

Application::Application() {
    instanceSlot() = this;
}

Application::~Application() {
    if (instanceSlot() == this) {
        instanceSlot() = nullptr;
    }
}

Application* Application::getInstance() {
    return instanceSlot();
}

void Application::setAnimationInterval(float interval) {
    _animationInterval = interval;
    Director::getInstance()->setAnimationInterval(interval);
}

const char* Application::getCurrentLanguageCode() {
    static char code[3] = "en";
    const char* value = nullptr;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(variable);
        if (v && *v) {
            value = v;
            break;
        }
    }
    code[0] = 'e';
    code[1] = 'n';
    code[2] = '\0';
    if (!value || std::strcmp(value, "C") == 0 || std::strncmp(value, "C.", 2) == 0 ||
        std::strcmp(value, "POSIX") == 0) {
        return code;
    }
    if (std::isalpha(static_cast<unsigned char>(value[0])) && std::isalpha(static_cast<unsigned char>(value[1])) &&
        (value[2] == '\0' || value[2] == '_' || value[2] == '.' || value[2] == '@' || value[2] == '-')) {
        code[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(value[0])));
        code[1] = static_cast<char>(std::tolower(static_cast<unsigned char>(value[1])));
    }
    return code;
}

LanguageType Application::getCurrentLanguage() {
    const std::string code = getCurrentLanguageCode();
    static const struct {
        const char* code;
        LanguageType type;
    } kLanguages[] = {{"zh", LanguageType::CHINESE},   {"fr", LanguageType::FRENCH},     {"it", LanguageType::ITALIAN},
                      {"de", LanguageType::GERMAN},    {"es", LanguageType::SPANISH},    {"nl", LanguageType::DUTCH},
                      {"ru", LanguageType::RUSSIAN},   {"ko", LanguageType::KOREAN},     {"ja", LanguageType::JAPANESE},
                      {"hu", LanguageType::HUNGARIAN}, {"pt", LanguageType::PORTUGUESE}, {"ar", LanguageType::ARABIC},
                      {"nb", LanguageType::NORWEGIAN}, {"pl", LanguageType::POLISH},     {"tr", LanguageType::TURKISH},
                      {"uk", LanguageType::UKRAINIAN}, {"ro", LanguageType::ROMANIAN},   {"bg", LanguageType::BULGARIAN}};
    for (const auto& entry : kLanguages) {
        if (code == entry.code) {
            return entry.type;
        }
    }
    return LanguageType::ENGLISH;
}

bool Application::openURL(const std::string& url) {
    if (url.empty()) {
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        logAt(LogLevel::Warning, "Application: cannot open [%s]", url.c_str());
        return false;
    }
    if (pid == 0) {
        // The URL is passed as one argument, never through a shell.
        execlp("xdg-open", "xdg-open", url.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void Application::setAppName(const std::string& name) {
    appNameSlot() = name;
}

std::string Application::getAppName() {
    if (!appNameSlot().empty()) {
        return appNameSlot();
    }
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.filename().empty()) {
        return exe.filename().string();
    }
    return "app";
}

}  // namespace cocos2d
