# The Debian package: `cpack -G DEB` in a build folder, after the build. Its dependencies are
# what dpkg-shlibdeps finds the programs linked against (the Qt 6 runtime and the C++ library);
# the fonts and the toolkit's Russian texts are only recommended, as the program runs without.
set(CPACK_PACKAGE_NAME mardo)
set(CPACK_PACKAGE_VENDOR "Mardo Studio")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "queueing model editor and simulator")
set(MARDO_PACKAGE_MAINTAINER "Mardo Studio developers <mardo@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${MARDO_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
# The summary above is its first line; an empty line parts two paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Mardo Studio is a desktop environment for building and simulating queueing
models. A model is drawn as blocks joined by links: generators, queues,
service devices, switching, copying, assembling and waiting blocks and
terminators. Each block's parameters are set in its property sheet, the
model runs as a tick-by-tick simulation of transacts, and its report shows
every block, device and queue and can be saved as an HTML page.

The package also holds mardo-run, which simulates a model file without
windows and prints its report as text or JSON, and sample models in
/usr/share/mardo/examples. The program's texts are in Russian.")

include(CPack)
