# Every third-party library comes from a Debian package that
# scripts/install-deps installs; nothing is downloaded here.

find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(EGL REQUIRED IMPORTED_TARGET egl)
pkg_check_modules(GL REQUIRED IMPORTED_TARGET gl)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
pkg_check_modules(SQUISH REQUIRED IMPORTED_TARGET libsquish)
# Debian's libsquish.pc has an empty prefix and so names "/include" as its
# header folder, which CMake refuses; squish.h is in the standard folder.
get_target_property(_kbh_squish_includes PkgConfig::SQUISH INTERFACE_INCLUDE_DIRECTORIES)
list(REMOVE_ITEM _kbh_squish_includes "/include")
set_target_properties(PkgConfig::SQUISH PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${_kbh_squish_includes}")

if(KBH_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(KBH_BENCH)
  find_package(benchmark REQUIRED)
endif()

# Real-world sample files live beside the repository, never inside it.
set(KBH_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../shared/corpus" CACHE PATH
    "Folder of real-world .x and DDS files used by the tests")
