// What a confirmed settings dialog asks of the windows that show settings.
#pragma once

class SettingsView {
public:
    virtual ~SettingsView() = default;
    // The settings record changed: lay the panes out again and bring the graphs and the monitors'
    // fields (axis, scale, colours, review window) up to date.
    virtual void RefreshAfterSettings() = 0;
    // The trigger mode changed: the graphs draw the trigger levels only while it is on.
    virtual void RepaintGraphs() = 0;
};
