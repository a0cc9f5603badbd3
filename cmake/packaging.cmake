# A Debian package of the editor and the command-line tool: `cpack -G DEB` in the build
# folder. The package's library dependencies are read from the programs (dpkg-shlibdeps);
# the desktop entry, MIME type and icon are picked up by the desktop's own package
# triggers, so the package needs no scripts of its own.
set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR "Velkor")
set(CPACK_PACKAGE_CONTACT "Velkor maintainers <maintainers@velkor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diagram editor for Velkor drawings (.vkd)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Composes diagrams on a zoomable canvas from preset and custom shapes, lines with end "
    "caps, polylines, text, pictures and groups in named views, saved as .vkd documents. "
    "Includes vkdtool to inspect, convert and render documents from the command line.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-wqy-zenhei, breeze-icon-theme, qt6-image-formats-plugins, qt6-translations-l10n, shared-mime-info, desktop-file-utils")
include(CPack)
