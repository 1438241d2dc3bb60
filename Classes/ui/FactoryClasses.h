#pragma once

// Registers every node class that UI descriptions create by name. Called once by the launch
// before the first screen is built.
void registerFactoryClasses();
