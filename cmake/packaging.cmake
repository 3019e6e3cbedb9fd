# Installing and packaging. `cmake --install` puts the game, its manual page,
# the README and the license where the platform keeps a game's files; `cpack`
# wraps the very same files in a Debian package (on Linux) or a zip (on
# Windows), since each package is made by running these install rules.
include(GNUInstallDirs)

set(VAELMOOR_VERSION 1.0.0)
# `vaelmoor --version` says the version its packages are named for (every
# target of the project sees it, the fuzzer's copy of the game too).
target_compile_definitions(vaelmoor_options INTERFACE VAELMOOR_VERSION="${VAELMOOR_VERSION}")

# A package's maintainer is whoever builds and hands it out; set yours with
# -DVAELMOOR_MAINTAINER="Name <address>". The default names the authors at a
# reserved domain, so no real person is named by mistake.
set(VAELMOOR_MAINTAINER "The Vaelmoor authors <vaelmoor@example.org>" CACHE STRING
  "The Maintainer field of the Debian package")

# Installed files get the usual modes whatever the umask of whoever builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian keeps manual pages and changelogs compressed, with gzip's strongest
# setting and no name or time stamp inside, so that the same source makes the
# same file. Without gzip the file is installed as it is.
find_program(GZIP_PROGRAM gzip)
function(vaelmoor_install_compressed file destination)
  if(NOT GZIP_PROGRAM)
    install(FILES ${file} DESTINATION ${destination})
    return()
  endif()
  get_filename_component(name ${file} NAME)
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${file} > ${gz}
    DEPENDS ${file}
    COMMENT "Compressing ${name}")
  add_custom_target(vaelmoor_gzip_${name} DEPENDS ${gz})
  # Built with the game itself, so that installing works after any build of
  # it, `make run`'s (the game alone) too.
  add_dependencies(vaelmoor vaelmoor_gzip_${name})
  install(FILES ${gz} DESTINATION ${destination})
endfunction()

if(WIN32)
  # A zip is unpacked into a folder of its own: the game and its papers side
  # by side, the license with an extension that Windows knows how to open.
  install(TARGETS vaelmoor RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
else()
  # Debian (and the FHS) keep games apart from other programs: the binary in
  # games/ (/usr/games for a package, /usr/local/games by default, both on a
  # Debian user's PATH) and the manual in section 6. Installing into a prefix
  # whose games/ is on no PATH (~/.local), choose bin here instead.
  set(VAELMOOR_INSTALL_GAMESDIR games CACHE STRING
    "Where the game binary is installed, relative to the install prefix")
  install(TARGETS vaelmoor RUNTIME DESTINATION ${VAELMOOR_INSTALL_GAMESDIR})
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Debian's place for a package's license, whoever installs it.
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
  configure_file(doc/debian-changelog.in changelog @ONLY)
  vaelmoor_install_compressed(${CMAKE_CURRENT_BINARY_DIR}/changelog ${CMAKE_INSTALL_DOCDIR})
  vaelmoor_install_compressed(${CMAKE_CURRENT_SOURCE_DIR}/doc/vaelmoor.6
    ${CMAKE_INSTALL_MANDIR}/man6)
endif()

set(CPACK_PACKAGE_NAME vaelmoor)
set(CPACK_PACKAGE_VERSION ${VAELMOOR_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vaelmoor authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text role-playing game of arena duels and a short story")
set(CPACK_PACKAGE_DESCRIPTION
  "Vaelmoor is a single-player role-playing game played at the console by
typing numbers. Make a hero from a one-word name, 25 skill points and one of
eight weapons, then fight a ladder of eight arena duels, winning gold, magic
items and levels, or live a short story with two duels and a real-time
archery scene played with the arrow keys and the space bar. A hero can be
saved in the current directory and played again later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_CURRENT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

# What a bare `cpack` makes: a zip on Windows, a .deb where the Debian tools
# that build one are, a tarball of the same files anywhere else.
find_program(VAELMOOR_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
elseif(VAELMOOR_DPKG_SHLIBDEPS)
  set(CPACK_GENERATOR DEB)
else()
  set(CPACK_GENERATOR TGZ)
endif()

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VAELMOOR_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the binary needs, and their versions, as dpkg-shlibdeps reads
# them from the binary itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

if(VAELMOOR_TOP_LEVEL)
  include(CPack)
endif()
