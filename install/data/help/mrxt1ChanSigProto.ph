Signalling protocol of a WAN channel: isdn, FXS or FXO loop or ground
start, E&M immediate, wink or delay dial, R2, clear channel, or
featureGroupB / featureGroupD (which carry ANI and DNIS digits).
