# Installation layout and the Debian packages. Two packages: the application server
# (component "server") and the desktop (component "desktop": the hosts, the platform library
# they share with the screen modules, the modules, their resource data and a sample
# configuration). The platform library sits in a private folder beside the modules.
set(GER_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/ger06700")
file(RELATIVE_PATH GER_BIN_TO_PRIVATE ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${GER_PRIVATE_LIBDIR})
file(RELATIVE_PATH GER_MODULES_TO_PRIVATE ${CMAKE_INSTALL_PREFIX}/${GER_MODULE_DIR}
     ${CMAKE_INSTALL_PREFIX}/${GER_PRIVATE_LIBDIR})

install(TARGETS appserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
configure_file(appserver/ger06700-server.service.in ger06700-server.service @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ger06700-server.service
        DESTINATION lib/systemd/system COMPONENT server)

set(GER_HOSTS ger-script)
if(GER_DESKTOP_HOST)
  list(APPEND GER_HOSTS ger-desktop)
endif()
set_target_properties(${GER_HOSTS} PROPERTIES INSTALL_RPATH "$ORIGIN/${GER_BIN_TO_PRIVATE}")
set_target_properties(Pkg_Ger06700 PROPERTIES INSTALL_RPATH "$ORIGIN/${GER_MODULES_TO_PRIVATE}")
install(TARGETS ${GER_HOSTS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
install(TARGETS platform LIBRARY DESTINATION ${GER_PRIVATE_LIBDIR} COMPONENT desktop)
install(TARGETS Pkg_Ger06700 LIBRARY DESTINATION ${GER_MODULE_DIR} COMPONENT desktop)
install(FILES Ger06700/resources/FormPgto.json Ger06700/resources/msgPadrao.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ger06700/resources/Ger06700 COMPONENT desktop)
install(FILES host/desktop/host.conf.example host/scenario/demo.script
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ger06700 COMPONENT desktop)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ger06700)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_VENDOR "Ger06700")
set(CPACK_PACKAGE_CONTACT "Ger06700 <ger06700@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Forma de Pagamento (GER06700): payment-term maintenance")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL server desktop)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_SERVER_PACKAGE_NAME ger06700-server)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME ger06700-desktop)
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "Application server of the Forma de Pagamento screen (JSON-RPC over TCP, SQLite)")
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION
    "Desktop and console hosts with the Forma de Pagamento screen module")
include(CPack)
