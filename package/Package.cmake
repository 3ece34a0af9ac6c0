# `cpack -G DEB` in the build folder: one Debian package of everything
# `cmake --install` puts in place, under /usr. Its dependencies are what the
# programs link (dpkg-shlibdeps), plus what they load at run time without
# linking it: Qt's platform plugins to open windows, and xdg-utils to open the
# documents.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qmx4600-tool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DAP and PWM Configuration Tool for the QMX4600 audio processor")
set(CPACK_PACKAGE_DESCRIPTION
  "Configures the QMX4600 (four DAP channels, four PWM outputs) over I2C through a USB-to-I2C bridge, with a "
  "simulated device (qmx4600-sim) and a command-line companion for scripts (qmx4600-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "QMX4600 tool developers <qmx4600-tool@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
include(CPack)
