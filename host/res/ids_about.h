// The about box (template 102) and the string table entries it and the
// update check read.
#pragma once

#define IDD_ABOUT 102

#define IDABOUTTEXT 10201
#define IDCRERL 10202
#define IDCHECKUPDATE 10203
#define IDCLEARWIN 10204
#define IDPROGNAME 10205
// Also the string table entry of the version text.
#define IDVERSION 10207
// Link rows; 10211 to 10214 open the address in the string table entry of
// their own id (10211 and 10212 also name the update hosts).
#define IDMAILTO 10210
#define IDWEBMIRROR 10211
#define IDWEBHOME 10212
#define IDWEBPLUGINS 10213
#define IDWEBFORUM 10214
