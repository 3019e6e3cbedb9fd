# Installing and packaging. `cmake --install` puts the game, its manual page,
# the README and the license where the platform keeps a game's files; the
# Debian package (debian/, built by dpkg-buildpackage) is made by running these
# install rules, and so is what `cpack` wraps: the zip on Windows, a tarball
# elsewhere.
include(GNUInstallDirs)

# The one place the version is written. debian/changelog's newest entry and
# the newest release in the AppStream file must name the same version:
# .ci/check-version.sh fails when they do not.
set(VAELMOOR_VERSION 1.0.0)
# `vaelmoor --version` says the version its packages are named for (every
# target of the project sees it, the fuzzer's copy of the game too).
target_compile_definitions(vaelmoor_options INTERFACE VAELMOOR_VERSION="${VAELMOOR_VERSION}")

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
  # Debian's place for a package's license and changelog, whoever installs
  # them. The Debian package puts its own in their place (debian/rules).
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
  vaelmoor_install_compressed(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog ${CMAKE_INSTALL_DOCDIR})
  vaelmoor_install_compressed(${CMAKE_CURRENT_SOURCE_DIR}/doc/vaelmoor.6
    ${CMAKE_INSTALL_MANDIR}/man6)
  # What software centres list the game by.
  install(FILES doc/org.vaelmoor.vaelmoor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
endif()

set(CPACK_PACKAGE_NAME vaelmoor)
set(CPACK_PACKAGE_VERSION ${VAELMOOR_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vaelmoor authors")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_CURRENT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

# What a bare `cpack` makes: the zip of the release page on Windows, a
# tarball of the installed files elsewhere. Debian's package comes from the
# source package in debian/, built with the distribution's own tools and flags.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR TGZ)
endif()

if(VAELMOOR_TOP_LEVEL)
  include(CPack)
endif()
