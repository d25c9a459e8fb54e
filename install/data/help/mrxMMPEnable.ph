enabled: the device accepts multilink PPP, bundling several links of one
caller; disabled: every link is separate. The device must be rebooted.
