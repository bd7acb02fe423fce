// Controls of the menu-items page (template 110). Its row list (1100) holds
// one check box per main-menu item, with the item's id as control id.
#pragma once

#define IDVERBSGROUP 11000
#define IDHIDEHEAD 11001
#define IDSAVETYPEGROUP 11002
#define IDFTOWALL 11003
#define IDFTOLIST 11004
#define IDDTOLIST 11006
#define IDEDFTOWALL 11008
#define IDEDFTOLIST 11009
#define IDEDDTOLIST 11010
#define IDSAVETYPE0 11011
#define IDSAVETYPE1 11012
#define IDSAVETYPENOTE 11013
#define IDFTOWALLEX 11030
#define IDFTOLISTEX 11031
#define IDDTOLISTEX 11032
