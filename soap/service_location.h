// Where the service is: the host (URL authority) and the namespace of its operations.
// Both are deployment values fixed at build time. tarvelo-cli and tests may replace the host
// before a run; the window program never does.
#pragma once

const char* GetServiceHost();
const char* GetServiceNamespace();

// Replaces the host for the rest of the process; null or "" restores the deployment value.
void SetServiceHost(const char* pszHost);
