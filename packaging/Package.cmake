# Installing and the Debian package. The program folder goes under
# ${EXAMSTUDY_INSTALL_DIR} laid out as the build lays it out in build/app/ (each
# folder's CMakeLists installs what it makes there); this file adds the launcher, the
# desktop entry, the icon, the metainfo and the shipped bank, and configures CPack.
#   cmake --build build --target package     (or scripts/package)

# The component id of the desktop entry and the metainfo: both files carry it in their
# names, and the metainfo names the entry.
set(EXAMSTUDY_APP_ID org.examstudy.ExamStudy)
set(EXAMSTUDY_PACKAGE_MAINTAINER "Exam Study developers <examstudy@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package)

# The package ships a bank compiled afresh from the sources, never the developer's
# build/app/data bank, which holds whatever was practised on it. Written beside and
# renamed, so that a failed compile leaves no half bank to be packaged.
file(GLOB_RECURSE EXAMSTUDY_BANK_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/bank/*)
set(PACKAGE_BANK ${PACKAGE_STAGE}/QBDATA000001.db)
add_custom_command(OUTPUT ${PACKAGE_BANK}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${PACKAGE_BANK}.new ${PACKAGE_BANK}
  COMMAND qbank build ${PROJECT_SOURCE_DIR}/assets/bank ${PACKAGE_BANK}.new
  COMMAND ${CMAKE_COMMAND} -E rename ${PACKAGE_BANK}.new ${PACKAGE_BANK}
  DEPENDS qbank ${EXAMSTUDY_BANK_SOURCES}
  COMMENT "Compiling the bank the package ships")

set(PACKAGE_ICONS)
foreach(side 256 48)
  set(icon ${PACKAGE_STAGE}/icons/${side}x${side}/examstudy.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:picgen>
            --icon ${side} ${icon}
    DEPENDS picgen
    COMMENT "Drawing the ${side}x${side} icon")
  list(APPEND PACKAGE_ICONS ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${side}x${side}/apps)
endforeach()
add_custom_target(package_files ALL DEPENDS ${PACKAGE_BANK} ${PACKAGE_ICONS})

install(FILES ${PACKAGE_BANK} DESTINATION ${EXAMSTUDY_INSTALL_DIR}/shipped)

# bin/examstudy is a relative link into the program folder; the program finds its
# resources through the resolved path of its executable.
file(MAKE_DIRECTORY ${PACKAGE_STAGE}/bin)
file(CREATE_LINK ../${EXAMSTUDY_INSTALL_DIR}/examstudy ${PACKAGE_STAGE}/bin/examstudy SYMBOLIC)
install(FILES ${PACKAGE_STAGE}/bin/examstudy DESTINATION bin)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${EXAMSTUDY_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${EXAMSTUDY_APP_ID}.metainfo.xml DESTINATION share/metainfo)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME examstudy)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Exam Study developers")
set(CPACK_PACKAGE_CONTACT ${EXAMSTUDY_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "study program for the IT qualification examination")
set(CPACK_PACKAGE_DESCRIPTION [=[
A desktop study program for candidates of the IT qualification examination,
with a Chinese user interface. The whole question bank lives in one local
database file: practise by chapter and by knowledge point, sit timed mock
exams that are marked and kept, follow your progress in charts, keep a daily
study plan and log, write notes, add and edit questions, and import
question-bank upgrades. A sample bank is included.]=])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${EXAMSTUDY_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The linked libraries come from dpkg-shlibdeps; these are what the program loads or
# reads at run time without linking it: the Qt platform plugins, Qt's own Chinese
# texts, the Song face it maps its font to, and the sound font the music plays with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-arphic-uming, timgm6mb-soundfont")
include(CPack)
