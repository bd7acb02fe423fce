// Controls of the general page (template 103).
#pragma once

#define IDAUTOST 10300
#define IDHIDEICO 10301
#define IDTRAYUPTEXT 10302
#define IDSCRAUTO 10305
#define IDUPDATE 10306
#define IDTRAYHEAD 10307
#define IDPAUSEHEAD 10310
#define IDBLOCKADD 10311
#define IDNOCHAN 10312
#define IDNOICON 10313
#define IDNOSCR 10314
#define IDSCRSET 10315
#define IDPRIORITYTEXT 10316
#define IDTRANS 10317
#define IDDESKHEAD 10318
#define IDCHANCOL 10319
#define IDRULETB 10322
#define IDTRANSPNO 10323
#define IDUSEPROXY 10325
#define IDSCRRULE 10329
#define IDSCRLIST 10330
#define IDHIDEICON 10331
#define IDTRAYUP 10350
#define IDPRIORITY 10351
#define IDTYPETRAY 10352
#define IDICONCAP 10353
#define IDPROXY 10354
#define IDUSER 10355
#define IDPASS 10356
// Opacity in percent beside the trackbar (a number, not a language text).
#define IDALPHAVALUE 10357
#define IDALPHA 10766
