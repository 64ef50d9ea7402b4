<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>heliora_widget</name>
    <message id="planetslist_widget_display_name">
        <source>Planets List</source>
        <translation>Planetenliste</translation>
    </message>
    <message id="planetslist_widget_description">
        <source>The solar system of this moment beside the names of the eight planets.</source>
        <translation>Das Sonnensystem in diesem Augenblick neben den Namen der acht Planeten.</translation>
    </message>
    <message id="solarsystem_widget_display_name">
        <source>Solar System</source>
        <translation>Sonnensystem</translation>
    </message>
    <message id="solarsystem_widget_description">
        <source>The planets around the Sun, where they stand right now.</source>
        <translation>Die Planeten um die Sonne, dort, wo sie gerade stehen.</translation>
    </message>
</context>
</TS>
