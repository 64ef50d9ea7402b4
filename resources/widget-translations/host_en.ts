<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>heliora_widgets</name>
    <message id="gallery_title">
        <source>Heliora Widgets</source>
        <translation>Heliora Widgets</translation>
    </message>
    <message id="gallery_hint">
        <source>Choose a widget and a size, then add it to the desktop. Drag a widget to move it; its menu removes it.</source>
        <translation>Choose a widget and a size, then add it to the desktop. Drag a widget to move it; its menu removes it.</translation>
    </message>
    <message id="add_widget">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="remove_widget">
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message id="open_heliora">
        <source>Open Heliora</source>
        <translation>Open Heliora</translation>
    </message>
    <message id="show_gallery">
        <source>Add Widgets…</source>
        <translation>Add Widgets…</translation>
    </message>
    <message id="family_small">
        <source>Small</source>
        <translation>Small</translation>
    </message>
    <message id="family_medium">
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message id="family_large">
        <source>Large</source>
        <translation>Large</translation>
    </message>
</context>
</TS>
