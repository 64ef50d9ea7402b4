<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>heliora</name>
    <message id="sun">
        <source>Sun</source>
        <translation>Sonne</translation>
    </message>
    <message id="mercury">
        <source>Mercury</source>
        <translation>Merkur</translation>
    </message>
    <message id="venus">
        <source>Venus</source>
        <translation>Venus</translation>
    </message>
    <message id="earth">
        <source>Earth</source>
        <translation>Erde</translation>
    </message>
    <message id="mars">
        <source>Mars</source>
        <translation>Mars</translation>
    </message>
    <message id="jupiter">
        <source>Jupiter</source>
        <translation>Jupiter</translation>
    </message>
    <message id="saturn">
        <source>Saturn</source>
        <translation>Saturn</translation>
    </message>
    <message id="uranus">
        <source>Uranus</source>
        <translation>Uranus</translation>
    </message>
    <message id="neptune">
        <source>Neptune</source>
        <translation>Neptun</translation>
    </message>
    <message id="pluto">
        <source>Pluto</source>
        <translation>Pluto</translation>
    </message>
    <message id="terrestrial_planet">
        <source>Terrestrial planet</source>
        <translation>Gesteinsplanet</translation>
    </message>
    <message id="gas_giant">
        <source>Gas giant</source>
        <translation>Gasriese</translation>
    </message>
    <message id="ice_giant">
        <source>Ice giant</source>
        <translation>Eisriese</translation>
    </message>
    <message id="dwarf_planet">
        <source>Dwarf planet</source>
        <translation>Zwergplanet</translation>
    </message>
    <message id="type">
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message id="mass">
        <source>Mass</source>
        <translation>Masse</translation>
    </message>
    <message id="radius">
        <source>Radius</source>
        <translation>Radius</translation>
    </message>
    <message id="diameter">
        <source>Diameter</source>
        <translation>Durchmesser</translation>
    </message>
    <message id="volume">
        <source>Volume</source>
        <translation>Volumen</translation>
    </message>
    <message id="gravity">
        <source>Gravity</source>
        <translation>Fallbeschleunigung</translation>
    </message>
    <message id="satellite">
        <source>Moons</source>
        <translation>Monde</translation>
    </message>
    <message id="orbital_period">
        <source>Orbital period</source>
        <translation>Umlaufzeit</translation>
    </message>
    <message id="rotation_period">
        <source>Rotation period</source>
        <translation>Rotationsdauer</translation>
    </message>
    <message id="max_orbital_velocity">
        <source>Max. orbital velocity</source>
        <translation>Max. Bahngeschwindigkeit</translation>
    </message>
    <message id="min_orbital_velocity">
        <source>Min. orbital velocity</source>
        <translation>Min. Bahngeschwindigkeit</translation>
    </message>
    <message id="maximum_apparent_magnitude">
        <source>Max. apparent magnitude</source>
        <translation>Max. scheinbare Helligkeit</translation>
    </message>
    <message id="max_distance_from_earth">
        <source>Max. distance from Earth</source>
        <translation>Max. Entfernung zur Erde</translation>
    </message>
    <message id="min_distance_from_earth">
        <source>Min. distance from Earth</source>
        <translation>Min. Entfernung zur Erde</translation>
    </message>
    <message id=" (10²⁴ kg)">
        <source> (10²⁴ kg)</source>
        <translation> (10²⁴ kg)</translation>
    </message>
    <message id=" (km)">
        <source> (km)</source>
        <translation> (km)</translation>
    </message>
    <message id=" (10¹⁰ km³)">
        <source> (10¹⁰ km³)</source>
        <translation> (10¹⁰ km³)</translation>
    </message>
    <message id=" (m/s²)">
        <source> (m/s²)</source>
        <translation> (m/s²)</translation>
    </message>
    <message id=" (km/s)">
        <source> (km/s)</source>
        <translation> (km/s)</translation>
    </message>
    <message id=" (m)">
        <source> (m)</source>
        <translation> (mag)</translation>
    </message>
    <message id=" (10⁶ km)">
        <source> (10⁶ km)</source>
        <translation> (10⁶ km)</translation>
    </message>
    <message id="radius_of_sphere">
        <source>Radius of a sphere of the same volume</source>
        <translation>Radius einer Kugel gleichen Volumens</translation>
    </message>
    <message id="diameter_of_sphere">
        <source>Diameter of a sphere of the same volume</source>
        <translation>Durchmesser einer Kugel gleichen Volumens</translation>
    </message>
    <message id="equatorial_gravitational_acceleration">
        <source>Gravitational acceleration at the equator</source>
        <translation>Fallbeschleunigung am Äquator</translation>
    </message>
    <message id="number_of_natural_satellites">
        <source>Number of natural satellites</source>
        <translation>Anzahl natürlicher Satelliten</translation>
    </message>
    <message id="time_to_complete_one_orbit">
        <source>Time to complete one orbit around the Sun</source>
        <translation>Dauer eines Umlaufs um die Sonne</translation>
    </message>
    <message id="time_to_complete_one_rotation">
        <source>Time to complete one rotation</source>
        <translation>Dauer einer Umdrehung</translation>
    </message>
    <message id="negative_numbers_indicate_retrograde_rotation">
        <source>(negative numbers indicate retrograde rotation)</source>
        <translation>(negative Werte bedeuten rückläufige Rotation)</translation>
    </message>
    <message id="maximum_orbital_velocity_at_perihelion">
        <source>Orbital velocity at perihelion, closest to the Sun</source>
        <translation>Bahngeschwindigkeit im Perihel, am sonnennächsten Punkt</translation>
    </message>
    <message id="minimum_orbital_velocity_at_aphelion">
        <source>Orbital velocity at aphelion, farthest from the Sun</source>
        <translation>Bahngeschwindigkeit im Aphel, am sonnenfernsten Punkt</translation>
    </message>
    <message id="apparent_magnitude_is_measure_of_brightness">
        <source>Apparent magnitude measures brightness as seen from Earth; lower is brighter</source>
        <translation>Die scheinbare Helligkeit misst, wie hell ein Körper von der Erde aus erscheint; kleinere Werte bedeuten größere Helligkeit</translation>
    </message>
    <message id="astronomical_unit_description">
        <source>1 AU (astronomical unit) is the mean distance from Earth to the Sun</source>
        <translation>1 AE (astronomische Einheit) ist der mittlere Abstand der Erde von der Sonne</translation>
    </message>
    <message id="%@">
        <source>%@</source>
        <translation>%@</translation>
    </message>
    <message id="%lld">
        <source>%lld</source>
        <translation>%lld</translation>
    </message>
    <message id="%@ x ">
        <source>%@ x </source>
        <translation>%@ x </translation>
    </message>
    <message id="%@ AU">
        <source>%@ AU</source>
        <translation>%@ AE</translation>
    </message>
    <message id=" ">
        <source> </source>
        <translation> </translation>
    </message>
    <message id="number_of_days" numerus="yes">
        <source>%lld days</source>
        <translation>
            <numerusform>%lld Tag</numerusform>
            <numerusform>%lld Tage</numerusform>
        </translation>
    </message>
    <message id="number_of_years" numerus="yes">
        <source>%lld years</source>
        <translation>
            <numerusform>%lld Jahr</numerusform>
            <numerusform>%lld Jahre</numerusform>
        </translation>
    </message>
    <message id="hours">
        <source>hours</source>
        <translation>Stunden</translation>
    </message>
    <message id="source">
        <source>Source:</source>
        <translation>Quelle:</translation>
    </message>
    <message id="NSSDCA">
        <source>NSSDCA</source>
        <translation>NSSDCA</translation>
    </message>
    <message id="open_fact_sheet">
        <source>Open fact sheet</source>
        <translation>Steckbrief öffnen</translation>
    </message>
    <message id="open_fact_sheet: %@">
        <source>Open fact sheet: %@</source>
        <translation>Steckbrief öffnen: %@</translation>
    </message>
    <message id="solar_system_orrery">
        <source>Solar system</source>
        <translation>Sonnensystem</translation>
    </message>
    <message id="terrestrial_planets">
        <source>Terrestrial planets</source>
        <translation>Gesteinsplaneten</translation>
    </message>
    <message id="gas_giants">
        <source>Gas giants</source>
        <translation>Gasriesen</translation>
    </message>
    <message id="ice_giants">
        <source>Ice giants</source>
        <translation>Eisriesen</translation>
    </message>
    <message id="dwarf_planets">
        <source>Dwarf planets</source>
        <translation>Zwergplaneten</translation>
    </message>
    <message id="backward">
        <source>Backward</source>
        <translation>Rückwärts</translation>
    </message>
    <message id="forward">
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message id="play">
        <source>Play</source>
        <translation>Fortsetzen</translation>
    </message>
    <message id="pause">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="reset">
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="%lldx">
        <source>%lld×</source>
        <translation>%lld×</translation>
    </message>
    <message id="settings">
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="general">
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message id="viewing">
        <source>Viewing</source>
        <translation>Ansicht</translation>
    </message>
    <message id="solar_system">
        <source>Solar System</source>
        <translation>Sonnensystem</translation>
    </message>
    <message id="about">
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message id="time_travel">
        <source>Time travel</source>
        <translation>Zeitreise</translation>
    </message>
    <message id="reset_to_today">
        <source>Reset to Today</source>
        <translation>Zurück zu heute</translation>
    </message>
    <message id="travel_in_time">
        <source>Pick a day to see where the planets stood, or will stand, on that day.</source>
        <translation>Wählen Sie einen Tag, um die Planeten an diesem Tag zu sehen.</translation>
    </message>
    <message id="url_scheme">
        <source>Links</source>
        <translation>Links</translation>
    </message>
    <message id="copy">
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message id="open_app">
        <source>Opens Heliora.</source>
        <translation>Öffnet Heliora.</translation>
    </message>
    <message id="open_app_with_date">
        <source>Opens Heliora at the date shown.</source>
        <translation>Öffnet Heliora am angezeigten Datum.</translation>
    </message>
    <message id="copied">
        <source>Copied</source>
        <translation>Kopiert</translation>
    </message>
    <message id="show_pluto">
        <source>Show Pluto</source>
        <translation>Pluto anzeigen</translation>
    </message>
    <message id="pluto_was_classified_as_dwarf_planet">
        <source>Pluto has been classified as a dwarf planet since 2006.</source>
        <translation>Pluto gilt seit 2006 als Zwergplanet.</translation>
    </message>
    <message id="setting_not_saved">
        <source>The setting could not be saved.</source>
        <translation>Die Einstellung konnte nicht gespeichert werden.</translation>
    </message>
    <message id="view_solar_system_on_your_widgets">
        <source>Keep the solar system on your desktop with the Heliora widgets.</source>
        <translation>Holen Sie sich das Sonnensystem mit den Heliora-Widgets auf den Schreibtisch.</translation>
    </message>
    <message id="planetslist_widget_display_name">
        <source>Planets List</source>
        <translation>Planetenliste</translation>
    </message>
    <message id="%@ %@">
        <source>%@ %@</source>
        <translation>%@ %@</translation>
    </message>
    <message id="Build (%@)">
        <source>Build (%@)</source>
        <translation>Build (%@)</translation>
    </message>
    <message id="Heliora for iOS">
        <source>Heliora for iPhone and iPad</source>
        <translation>Heliora für iPhone und iPad</translation>
    </message>
    <message id="any_comments_are_welcome">
        <source>Questions, ideas and comments are welcome.</source>
        <translation>Fragen, Ideen und Anmerkungen sind willkommen.</translation>
    </message>
    <message id="Twitter: ">
        <source>Twitter: </source>
        <translation>Twitter: </translation>
    </message>
    <message id="Email: ">
        <source>Email: </source>
        <translation>E-Mail: </translation>
    </message>
    <message id="privacy_policy">
        <source>Privacy Policy</source>
        <translation>Datenschutz</translation>
    </message>
    <message id="terms_and_conditions">
        <source>Terms and Conditions</source>
        <translation>Nutzungsbedingungen</translation>
    </message>
    <message id="By ">
        <source>By </source>
        <translation>Von </translation>
    </message>
    <message id="developer_name">
        <source>The Heliora developers</source>
        <translation>den Heliora-Entwicklern</translation>
    </message>
    <message id="planetary_positions_are_from_nssdca">
        <source>Planetary data from NASA's Space Science Data Coordinated Archive:</source>
        <translation>Planetendaten aus dem Space Science Data Coordinated Archive der NASA:</translation>
    </message>
    <message id="file_menu">
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message id="settings_command">
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen…</translation>
    </message>
    <message id="close_window">
        <source>&amp;Close Window</source>
        <translation>Fenster &amp;schließen</translation>
    </message>
    <message id="quit">
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message id="help_menu">
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message id="send_feedback">
        <source>Send &amp;Feedback</source>
        <translation>&amp;Feedback senden</translation>
    </message>
    <message id="follow_on_twitter">
        <source>Follow on &amp;Twitter</source>
        <translation>Auf &amp;Twitter folgen</translation>
    </message>
    <message id="about_heliora">
        <source>&amp;About Heliora</source>
        <translation>Ü&amp;ber Heliora</translation>
    </message>
</context>
</TS>
