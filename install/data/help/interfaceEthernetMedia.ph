Ethernet connector in use: auto (detected), aui, twistedPair or
thinnet. Applies to the Ethernet port only.
