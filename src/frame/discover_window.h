// The network discovery prompt and the work dialog of a network discovery:
// the frame's side of the discovery commands (devices/discovery.h), which
// opens and closes the prompt and shows what a discovery returns.
#pragma once

#include <string>

#include "devices/discovery.h"

// Opens the prompt "Discover Morixes/Network".
void discover_new_proc();
// OK of the prompt: 0 when accepted (the prompt closes and discovery runs),
// -1 when a field was refused (the prompt stays open, the warning over the
// refused field).
int dsc_mrx_prm_ok(const DscPromptRequest& req);
// Cancel of the prompt.
void dsc_mrx_prm_cancel();
// Network discovery for address and mask; 0, or -1 after the refusal was
// shown.
int discover_morixes_new(const std::string& address, const std::string& mask, int timeout,
                         int allow_default);
// Runs req under the work dialog and shows its outcome over the main
// window. Returns 0.
int discover_morixes_disc(const NetDiscoveryRequest& req);
// The same for a broadcast address, time-out and header (network: the
// target network's address, "" when not known).
int discover_morixes_disc(const std::string& bcast, int timeout, const std::string& header,
                          const std::string& network = "");
// "Discover" of the search-device window: the discovery, then its fields
// as used and the refusal over the window. A DscSearchResult.
int show_search_discovery(const DiscoverRequest& req);
