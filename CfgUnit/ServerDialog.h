// The modal dialog that asks for the new web server host and tunnel addresses.
#pragma once

class StringList;
class TConfigurator;

// Shows the dialog for the server list; on acceptance appends to the
// configurator's WebServersHosts and WardLocations and sets both section numbers.
bool RunServerDialog(TConfigurator& configurator, StringList& servers, int& chosenSection, int& targetSection);
