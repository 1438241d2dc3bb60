# Every third-party library as an imported target, all from Debian's packages.
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL GLX)
find_package(GLEW REQUIRED)
find_package(ZLIB REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
pkg_check_modules(SDL2_TTF REQUIRED IMPORTED_TARGET SDL2_ttf)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
# The engine reads JPEG headers and decodes JPEGs with libjpeg itself, to size-check them first.
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)

find_path(RAPIDJSON_INCLUDE_DIR rapidjson/document.h REQUIRED)
add_library(kestrova_rapidjson INTERFACE)
target_include_directories(kestrova_rapidjson SYSTEM INTERFACE ${RAPIDJSON_INCLUDE_DIR})
add_library(RapidJSON::RapidJSON ALIAS kestrova_rapidjson)

find_path(RAPIDXML_INCLUDE_DIR rapidxml.hpp PATH_SUFFIXES rapidxml REQUIRED)
add_library(kestrova_rapidxml INTERFACE)
target_include_directories(kestrova_rapidxml SYSTEM INTERFACE ${RAPIDXML_INCLUDE_DIR})
add_library(rapidxml::rapidxml ALIAS kestrova_rapidxml)

if(KESTROVA_BUILD_TESTS)
    find_package(GTest REQUIRED)
endif()
if(KESTROVA_BUILD_BENCH)
    find_package(benchmark REQUIRED)
endif()

# Only the asset generator draws with Cairo and encodes MP3 with LAME.
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(LAME REQUIRED IMPORTED_TARGET lame)
