#pragma once
// The main window. Its controls are the monitor's live state: the hidden lists hold the
// per-site data at the site's position, hidden labels carry shared flags.
#include "vigil/forms/controls.h"

namespace vigil::forms {

struct Form1 : Form {
    Form1() : Form("Form1", "Vigil - Tessaly Ltd") {}

    // "Domains" frame: the site list and its editing controls.
    Frame Frame1{"Frame1", "Domains"};
    TextBox domainToAdd{"domainToAdd", "http://www."};
    Button AddDomain{"AddDomain", "Add URL"};
    Button Command1{"Command1", "Remove URL"};
    ListView ListView1{"ListView1", {{"Domain", 142.98}, {"Status", 34.99843}}};
    TextBox webCount{"webCount", "0"};

    // Hidden per-site lists, one entry per site at the site's position.
    ListBox domainList{"domainList"};
    ListBox urlList{"urlList"};
    ListBox uptimeList{"uptimeList"};
    ListBox downTimeList{"downTimeList"};
    ListBox emailList1{"emailList1"};
    ListBox emailList2{"emailList2"};

    // The two notification sets: sites notified as down, and sites considered up.
    ListBox emailChecks{"emailChecks"};
    ListBox emailChecksOK{"emailChecksOK"};

    // The transfer controls: Inet1 fetches the sites (and the trigger request), Inet2 the
    // connection-test address, so the two never share a proxy setting.
    Inet Inet1{"Inet1"};
    Inet Inet2{"Inet2"};
    // Hidden working fields of the response check: the last lower-cased body of each mode.
    RichText netData{"netData"};
    RichText netData2{"netData2"};

    // Busy marker of the check cycle; the quit paths read it.
    Label lblQuit{"lblQuit", "QUIT"};
    Label version{"version", "1.6.5"};
};

} // namespace vigil::forms
