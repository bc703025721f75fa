# The Debian package, made by CPack from a Release build (scripts/package).
# Depends is what dpkg-shlibdeps finds the program linked against, plus what
# it loads at run time without linking: Qt's platform plugins (libqt6gui6
# only recommends them), the Chinese texts of Qt's dialogs, and a CJK font for
# the captions, as main.cpp asks for them.
set(ZANFOR_MAINTAINER "The Zanfor描述排版器 developers <maintainers@zanfor-layout.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zanfor-layout)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zanfor描述排版器 developers")
set(CPACK_PACKAGE_CONTACT ${ZANFOR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lay out the HTML description of an online-shop item page")
set(CPACK_PACKAGE_DESCRIPTION
"Zanfor描述排版器 builds the HTML description of an item page for sellers on
online shopping platforms from ready-made sections: related sales, divider
bars, product information, size tables, picture lists, product details,
bundle sales, after-sales notes, coupons, custom HTML and spacer lines.
Each style is previewed as it is chosen; the sections are collected into the
page, rearranged with undo and redo, previewed as a whole, and the page's
HTML is copied for the platform's description editor.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk")
include(CPack)
