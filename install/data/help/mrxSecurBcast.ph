enabled: when no security server answers, the request is broadcast on
the network; disabled: only the named servers are asked.
