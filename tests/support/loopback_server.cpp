// placeholder until the loopback server lands
