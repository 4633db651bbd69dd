# libsystemd, which the journal sink calls, as the imported target
# PkgConfig::KESTRUNE_SYSTEMD that the library's link interface names. Runs in
# the library's own build and, before its exported targets, in every consumer's.
if(NOT TARGET PkgConfig::KESTRUNE_SYSTEMD)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(KESTRUNE_SYSTEMD REQUIRED IMPORTED_TARGET GLOBAL libsystemd)
endif()
