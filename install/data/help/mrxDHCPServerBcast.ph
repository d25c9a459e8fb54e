enabled: DHCP requests are also broadcast on the Ethernet when no DHCP
server answers; disabled: only the named servers are asked.
