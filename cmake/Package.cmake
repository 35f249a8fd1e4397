# cpack -G DEB in a Release build: yubin_VERSION_ARCH.deb, installing under
# /usr. The libraries the programs link are found by dpkg-shlibdeps; what
# they only load at run time is named here: Qt's Japanese translation of
# its dialogs and a Japanese font the lists are drawn in.
set(CPACK_PACKAGE_NAME yubin)
set(CPACK_PACKAGE_VENDOR Zunelka)
set(CPACK_PACKAGE_CONTACT "Zunelka <yubin@zunelka.jp>")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese postal code lookup (郵便番号検索)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Looks up Japanese postal codes offline in Japan Post's public data: browse
prefecture, municipality and town, search all of Japan for one or two words
or a postal code, prepare the data from the downloaded archives, print the
customer barcode and open an address in a map or web search. The nationwide
data comes with it. The command yubin-cli does the same lookups from a
terminal, with tsv and json output.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-translations-l10n, fonts-ipafont-gothic | fonts-ipaexfont-gothic | fonts-noto-cjk | fonts-vlgothic | fonts-takao-gothic")
include(CPack)
