enabled: the dial-out service lets network users dial out through the
device's modems; disabled: dial-out is refused.
