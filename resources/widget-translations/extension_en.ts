<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>heliora_widget</name>
    <message id="planetslist_widget_display_name">
        <source>Planets List</source>
        <translation>Planets List</translation>
    </message>
    <message id="planetslist_widget_description">
        <source>The solar system of this moment beside the names of the eight planets.</source>
        <translation>The solar system of this moment beside the names of the eight planets.</translation>
    </message>
    <message id="solarsystem_widget_display_name">
        <source>Solar System</source>
        <translation>Solar System</translation>
    </message>
    <message id="solarsystem_widget_description">
        <source>The planets around the Sun, where they stand right now.</source>
        <translation>The planets around the Sun, where they stand right now.</translation>
    </message>
</context>
</TS>
