// Offers to install the catalog when start-up cannot find it.
#pragma once

// Asks the user whether to install the catalog and, on consent, has the system
// shell open the installer's download address. Returns 0 in every case.
int OfferInstallation();
