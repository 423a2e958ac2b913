// Registration of the graphs' messages at static initialisation, before any window exists.
#include "graphs/GraphMessages.h"

const UINT MSG_3A95FBE5 = RegisterWindowMessageA("3A95FBE5-C03C-4ef1-9B47-6F7096D4F824");
const UINT MSG_3563518B = RegisterWindowMessageA("3563518B-A783-4166-BAE3-3AE3DA60FC53");
const UINT MSG_60DE7150 = RegisterWindowMessageA("60DE7150-1AD0-4d7c-A1D9-01E6247B3F20");
