# `cpack -G DEB` in a build tree makes the Debian package of what the install
# rules put under /usr. Its dependencies are the Debian packages of the shared
# libraries the programs link, found by dpkg-shlibdeps (dpkg-dev).
set(TORZALEN_PACKAGE_MAINTAINER "Torzalen maintainers <maintainers@torzalen.example>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torzalen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TORZALEN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # torzalen_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TORZALEN_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(TORZALEN_GUI)
  # Qt loads its window-system plugins at run time, where dpkg-shlibdeps
  # cannot see them; the desktop program does not start without one.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(tz_package_programs "the desktop program torzalen and the batch command torzalen-cli")
else()
  set(tz_package_programs "the batch command torzalen-cli")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"analysis utility of the VRX7731 Torzalen torque meter
Torzalen turns the raw counts that the VRX7731 Torzalen torque meter records
on a rotating shaft into time, speed, torque and power, filters them, runs a
spectrum analysis and writes time-domain (TDM) and frequency-domain (FDM)
analysis files.
.
This package holds ${tz_package_programs}.")

include(CPack)
