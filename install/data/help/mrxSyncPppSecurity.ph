enabled: the far end of the PPP link must authenticate itself.
