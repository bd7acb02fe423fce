// The "ProcessView" window (template 140): the exclusion list beside the
// programs running now.
#pragma once

#define IDD_PROCVIEW 140
#define IDPROCTITLE 14000
#define IDPROCREMOVE 14001
#define IDPROCADD 14002
#define IDPROCEXCLUDED 14003
#define IDPROCRUNNING 14004
// Headings over the two lists.
#define IDPROCEXCLUDEDTEXT 14005
#define IDPROCRUNNINGTEXT 14006
