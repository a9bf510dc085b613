#!/usr/bin/python3
# What Linux says of this machine, as ipconfig_test.cpp writes what the scanner
# reads from the classic ipconfig's report: host name, IPv4 name servers, and as many
# Ethernet adapters as the window holds: those whose link is up and that hold the
# default route, then the others that are up, then the rest, each group by index.
import ipaddress, json, subprocess


def run(*command): return subprocess.run(command, check=True, capture_output=True, text=True).stdout


print("host", run("hostname", "-s").strip())
print(" ".join(["dns"] + [words[1] for words in map(str.split, open("/etc/resolv.conf"))
                          if words[:1] == ["nameserver"] and "." in words[1]]))
gateways = {}
for route in json.loads(run("ip", "-j", "-4", "route", "show", "default")):
    gateways.setdefault(route["dev"], route.get("gateway", ""))
links = [link for link in json.loads(run("ip", "-j", "address")) if link["link_type"] == "ether"]
up = [link for link in links if {"UP", "LOWER_UP"} <= set(link["flags"])]
order = sorted(links, key=lambda link: (link not in up, link["ifname"] not in gateways,
                                        link["ifindex"]))
for link in order[:4]:
    ipv4 = [a for a in link["addr_info"] if a["family"] == "inet"]
    net = ipaddress.ip_interface(f"{ipv4[0]['local']}/{ipv4[0]['prefixlen']}") if ipv4 else None
    address = [str(net.ip), str(net.netmask)] if net else ["0.0.0.0", "0.0.0.0"]
    print(" ".join(["adapter", link["ifname"], link["address"].upper().replace(":", "-")] +
                   (address + [gateways.get(link["ifname"], "")] if link in up else ["", "", ""])))
