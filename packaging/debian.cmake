# The Debian packages orvix and kyrnd, made by CPack (scripts/package.sh).
# Their library dependencies are read from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${ORVIX_MAINTAINER}")
set(CPACK_PACKAGE_VENDOR "The Orvix developers")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL orvix kyrnd)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE orvix)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_ORVIX_PACKAGE_NAME orvix)
set(CPACK_DEBIAN_KYRND_PACKAGE_NAME kyrnd)
# Qt loads its display plugins at run time, where dpkg-shlibdeps cannot see
# them; the Local Game entry runs kyrnd.
set(CPACK_DEBIAN_ORVIX_PACKAGE_DEPENDS "qt6-qpa-plugins, kyrnd (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_ORVIX_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_KYRND_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_SOURCE_DIR}/kyrnd-scripts/postinst
  ${CMAKE_CURRENT_SOURCE_DIR}/kyrnd-scripts/prerm
  ${CMAKE_CURRENT_SOURCE_DIR}/kyrnd-scripts/postrm)
set(CPACK_COMPONENT_ORVIX_DESCRIPTION "desktop client for the Kyrn space-trading game
Orvix is a client for Kyrn, a text-based multiplayer space-trading game.
You type commands and read the game's prose, while side panels keep track
of the players in the game, your location, a grid map of the planet, your
avatar and ship, the commodity exchange, planet infrastructure and private
tight-beam talks. It logs you on from stored accounts, walks a new player
through account creation, plays the game's sounds, sends F-key macros and
logs sessions to files. Its Local Game menu entry plays on the bundled
kyrnd server.")
set(CPACK_COMPONENT_KYRND_DESCRIPTION "small game server for Kyrn, the space-trading game
kyrnd serves the logon and account creation conversations of Kyrn, streams
the game's markup to the Orvix client and runs a small trading world with
drifting prices and simulated players. It comes with a confined systemd
service, which is not enabled on installation.")
include(CPack)
