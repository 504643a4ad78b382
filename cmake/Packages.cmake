# `cpack -G DEB` in the build folder makes two Debian packages: luxlog (the windows, desktop entry
# and icon) and luxlog-cli (the command line and its systemd unit template, without the widget
# libraries), each depending on the libraries its programs link, as dpkg-shlibdeps finds them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME luxlog)
set(CPACK_PACKAGE_VENDOR "luxlog")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "luxlog developers <luxlog@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL gui cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)

set(CPACK_DEBIAN_GUI_PACKAGE_NAME luxlog)
set(CPACK_COMPONENT_GUI_DESCRIPTION
    "companion of a data-logging illuminance meter on a serial port\n"
    "Shows the meter's live reading, records, lists, plots and prints its readings, reads its\n"
    "logged sets and sets its clock and alarm. The command line comes in luxlog-cli.")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "fonts-liberation2, luxlog-cli")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME luxlog-cli)
set(CPACK_COMPONENT_CLI_DESCRIPTION
    "illuminance meter from the command line, without a display\n"
    "Live readings, recording into record files, the meter's logged sets and clock, and\n"
    "publishing to an MQTT broker for Home Assistant and the like, with a systemd unit\n"
    "template for one meter per instance.")

include(CPack)
