# What `cmake --install` puts where, and the packages cpack makes from it: on Linux a .deb
# (programs in bin/, a menu entry with its icons, _propids.txt in the data folder), on
# Windows one zip of the two static programs and a readme. Tests, benchmarks and fuzzers
# have no install rules, so no package holds them.
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
# A build without the Qt front-end (the fuzz build, say) installs the runner alone.
set(installed_programs tarnel-batch)
if(TARGET tarnel)
    list(PREPEND installed_programs tarnel)
endif()

if(WIN32)
    install(TARGETS ${installed_programs} RUNTIME DESTINATION .)
    install(FILES ${packaging_dir}/win32/README.txt DESTINATION .)
    set(CPACK_GENERATOR ZIP)
else()
    install(TARGETS ${installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${packaging_dir}/tarnel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # 16, 32 and 48 px are the images of app/win32/Tarnel.ico; 256 px is the same drawing
    # at that size (ImageMagick), which the .ico lacks.
    foreach(size 16 32 48 256)
        install(FILES ${packaging_dir}/icons/tarnel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tarnel.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarnel)
    set(CPACK_GENERATOR DEB)
endif()

# No address: the project has no list or mailbox to name, and a made-up one would mislead.
set(TARNEL_PACKAGE_MAINTAINER "Tarnel developers")

set(CPACK_PACKAGE_NAME Tarnel)
set(CPACK_PACKAGE_VENDOR Tarnel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TARNEL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Word document properties to CSV, and documents renamed to their titles")
# Lines of a Debian description stay under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION [[
Tarnel walks one folder of Word documents (.doc and .docx). It writes the
chosen document properties, numbered like the Windows shell's detail columns,
into a CSV file, and/or renames each document to its title. A Qt dialog
(tarnel) and a command-line runner (tarnel-batch) do the same job.]])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME tarnel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TARNEL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (the boxes' buttons, the choosers) in Chinese like the dialog's; the
# libraries found by dpkg-shlibdeps are added to it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Every text of the dialog is Chinese: without a CJK font a desktop shows only boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-wqy-microhei | fonts-droid-fallback")

include(CPack)
