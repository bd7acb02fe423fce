// Controls of the lists page.
#pragma once

#define IDPICSIZE 10628  // "W x H" of the previewed picture
