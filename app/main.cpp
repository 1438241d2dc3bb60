#include "engine/platform/Application.h"

#include "AppDelegate.h"

int main() {
    // The writable folder of the saves: $XDG_DATA_HOME/Kestrova/.
    cocos2d::Application::setAppName("Kestrova");
    AppDelegate app;
    return cocos2d::Application::getInstance()->run();
}
