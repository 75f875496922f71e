#pragma once
// Resource identifiers, shared by tovrel.rc and the code (plain macros: windres reads this).

#define IDI_TOVREL 1
#define IDC_TOVREL_HAND 2
#define IDR_EFACTURA_JPEG 3
