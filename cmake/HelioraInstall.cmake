# Where `cmake --install` puts Heliora's files, and the functions every part of the build uses to put them there.
# Included by the top-level CMakeLists.txt before any subdirectory, so that each folder installs its own files.
#
# Layout under the prefix (/usr/local by default, /usr in the Debian package):
#   bin/heliora, bin/heliora-cli, bin/heliora-widgets      programs            heliora_install_programs()
#   lib/heliora/plugins/                                   the desktop-widget plug-in, loaded by heliora-widgets
#                                                                              heliora_install_plugin()
#   share/applications/app.heliora.Heliora.desktop         the menu entry and the heliora:// link handler
#   share/icons/hicolor/<N>x<N>/apps/app.heliora.Heliora.png, .../scalable/apps/app.heliora.Heliora.svg
#   share/metainfo/app.heliora.Heliora.metainfo.xml        AppStream metadata for software centres
#   share/plasma/plasmoids/<id>/                           Plasma applets       heliora_install_plasma_applet()
#   share/man/man1/, share/doc/heliora/                    manual pages, copyright and change log
#   /etc/xdg/autostart/<name>.desktop                      autostart entries    heliora_install_autostart()
# Tests and benchmarks install nothing. Every program in bin/ has a manual page (resources/package); the test
# desktop.installed_layout checks both.
#
# The widget side follows the same pattern, e.g. in src/widget-host/CMakeLists.txt:
#   heliora_install_programs(heliora-widgets)
#   target_compile_definitions(heliora-widgets PRIVATE
#       HELIORA_PLUGIN_DIR_FROM_BINDIR="${HELIORA_PLUGIN_DIR_FROM_BINDIR}")
# and in src/widget/CMakeLists.txt: heliora_install_plugin(HelioraWidgetExtension). The host finds the plug-in at
# QCoreApplication::applicationDirPath() + "/" HELIORA_PLUGIN_DIR_FROM_BINDIR, wherever the prefix is.

include(GNUInstallDirs)
# GNUInstallDirs names the documentation folder after the project ("Heliora"); Debian wants the package's name.
# (Qt's CMake files include GNUInstallDirs first, so a default set before including it would come too late.)
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
    set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/heliora)
    GNUInstallDirs_get_absolute_install_dir(CMAKE_INSTALL_FULL_DOCDIR CMAKE_INSTALL_DOCDIR DOCDIR)
endif()

# The application's one reverse-DNS id: the desktop entry's, the icon's and the AppStream component's name.
set(HELIORA_APP_ID app.heliora.Heliora)

# A folder below lib/heliora: a plug-in directly in a folder of lib/ would make CPack add ldconfig calls to the
# package's scripts, which a plug-in that no program links does not need.
set(HELIORA_INSTALL_PLUGINDIR ${CMAKE_INSTALL_LIBDIR}/heliora/plugins)
set(HELIORA_INSTALL_APPLICATIONSDIR ${CMAKE_INSTALL_DATADIR}/applications)
set(HELIORA_INSTALL_ICONSDIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(HELIORA_INSTALL_METAINFODIR ${CMAKE_INSTALL_DATADIR}/metainfo)
set(HELIORA_INSTALL_PLASMOIDSDIR ${CMAKE_INSTALL_DATADIR}/plasma/plasmoids)
# Autostart entries go where desktops look for them, /etc/xdg/autostart, for the usual prefixes (/usr/local would
# give /usr/local/etc); another prefix keeps them under its own configuration folder. Install with DESTDIR to
# stage them elsewhere.
set(HELIORA_INSTALL_AUTOSTARTDIR ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart)
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr/local" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(HELIORA_INSTALL_AUTOSTARTDIR /etc/xdg/autostart)
endif()
file(RELATIVE_PATH HELIORA_PLUGIN_DIR_FROM_BINDIR ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
    ${CMAKE_INSTALL_PREFIX}/${HELIORA_INSTALL_PLUGINDIR})

# Installed directories are world-readable whatever the umask of the person who builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# heliora_install_programs(TARGET ...): programs a user starts, into bin/.
function(heliora_install_programs)
    install(TARGETS ${ARGN} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# heliora_install_plugin(TARGET ...): Qt plug-ins that only Heliora's own programs load, into lib/heliora/plugins/.
function(heliora_install_plugin)
    install(TARGETS ${ARGN} LIBRARY DESTINATION ${HELIORA_INSTALL_PLUGINDIR})
endfunction()

# heliora_install_autostart(FILE): a .desktop entry that the desktop starts at log-in. Files under /etc are the
# administrator's to edit, so the Debian package marks them as configuration files (cmake/HelioraPackage.cmake).
function(heliora_install_autostart file)
    install(FILES ${file} DESTINATION ${HELIORA_INSTALL_AUTOSTARTDIR})
    get_filename_component(name ${file} NAME)
    set_property(GLOBAL APPEND PROPERTY HELIORA_CONFFILES ${HELIORA_INSTALL_AUTOSTARTDIR}/${name})
endfunction()

# heliora_install_plasma_applet(DIRECTORY ID): a Plasma applet (its metadata.json and contents/ folder) as
# share/plasma/plasmoids/ID/.
function(heliora_install_plasma_applet directory id)
    install(DIRECTORY ${directory}/ DESTINATION ${HELIORA_INSTALL_PLASMOIDSDIR}/${id})
endfunction()
