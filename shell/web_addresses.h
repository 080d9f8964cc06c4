// Where the program sends the user on the web. Both are chosen when the
// program is built (VELTRANO_VENDOR_SITE and VELTRANO_VOTE_PAGE, see the
// README), so a mirror or a new rating site needs no change to the code.
#pragma once

#include <string_view>

#ifndef VELTRANO_VENDOR_SITE
#error "VELTRANO_VENDOR_SITE comes from the build (shell/CMakeLists.txt)"
#endif
#ifndef VELTRANO_VOTE_PAGE
#error "VELTRANO_VOTE_PAGE comes from the build (shell/CMakeLists.txt)"
#endif

namespace veltrano::shell {

// The vendor's web site, without a trailing slash: pages are added to it as
// "/veltrano_products.htm" or "/tip0025.htm#marker4".
inline constexpr std::string_view kVendorSite = VELTRANO_VENDOR_SITE;
// The rating site's page on which the user votes for Veltrano.
inline constexpr std::string_view kVotePage = VELTRANO_VOTE_PAGE;

}  // namespace veltrano::shell
