# The Debian package, built by scripts/package.sh with `cpack -G DEB`: the
# installed files under /usr, and Depends worked out by dpkg-shlibdeps from
# what the programs link (Qt 6, iconv, CUPS) plus the fonts the windows ask for
# and Qt's Japanese translation of its standard dialogs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME punchbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Punchbook developers")
set(CPACK_PACKAGE_CONTACT "Punchbook developers <punchbook@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "time cards and wages of daily-wage and hourly-wage employees")
set(CPACK_PACKAGE_DESCRIPTION
    "Punchbook is a desktop time-card program for a small Japanese business, with a
Japanese user interface. It registers employees on daily wage or hourly wage,
takes each day's clock times for a pay month, and works out the days worked,
the overtime by class or the hours by time band, and the wages due. Months are
kept in the user's data folder; a monthly report prints on B5 paper, and
punchbook-export writes a month as CSV or JSON.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Punchbook developers <punchbook@example.org>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
# Without it Qt runs through XWayland on a Wayland desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
