// Every command line the program hands to the operating system's ipconfig.
#pragma once

constexpr char IPCONFIG_SHOW[] = "ipconfig";
constexpr char IPCONFIG_ALL[] = "ipconfig /all";
constexpr char IPCONFIG_RENEW_ALL[] = "ipconfig /renew";
constexpr char IPCONFIG_RELEASE_ALL[] = "ipconfig /release";
constexpr char IPCONFIG_HELP[] = "ipconfig /?";

// wsprintfA formats for one adapter; %s is the slot's name, blanks stored as '?'.
constexpr char IPCONFIG_RENEW_ONE[] = "ipconfig /renew %s";
constexpr char IPCONFIG_RELEASE_ONE[] = "ipconfig /release %s";

// Prefixes followed by the first line of the console's text box.
constexpr char IPCONFIG_RENEW_PREFIX[] = "ipconfig /renew ";
constexpr char IPCONFIG_RELEASE_PREFIX[] = "ipconfig /release ";
constexpr char IPCONFIG_PREFIX[] = "ipconfig ";

static_assert(sizeof IPCONFIG_RENEW_PREFIX - 1 == 16, "renew prefix length");
static_assert(sizeof IPCONFIG_RELEASE_PREFIX - 1 == 18, "release prefix length");
static_assert(sizeof IPCONFIG_PREFIX - 1 == 9, "run prefix length");
