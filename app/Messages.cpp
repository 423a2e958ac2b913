// Registration of the window messages at static initialisation, before any window exists.
#include "app/Messages.h"

const UINT MSG_81577DB4 = RegisterWindowMessageA("81577DB4-BEA7-4423-9BC7-1EEB89E0B772");
const UINT MSG_ADA8E3B9 = RegisterWindowMessageA("ADA8E3B9-1F29-4a98-B5AD-B4EF52347284");
const UINT MSG_9388BF10 = RegisterWindowMessageA("9388BF10-107B-4038-943C-AB5B613296A1");
const UINT MSG_C501B7B2 = RegisterWindowMessageA("C501B7B2-C574-4932-9F54-A50D2464AD46");

const char kInstanceName[] = "Quorvel.exe 2A217156-E4D9-4f05-B856-5ED6F5C867BE";
