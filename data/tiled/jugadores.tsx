<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="jugadores" tilewidth="25" tileheight="25" tilecount="8" columns="8">
 <image source="jugadores.png" width="200" height="25"/>
 <tile id="0" type="Jugador 1">
  <properties>
   <property name="jugador" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="1" type="Jugador 2">
  <properties>
   <property name="jugador" type="int" value="2"/>
  </properties>
 </tile>
 <tile id="2" type="Jugador 3">
  <properties>
   <property name="jugador" type="int" value="3"/>
  </properties>
 </tile>
 <tile id="3" type="Jugador 4">
  <properties>
   <property name="jugador" type="int" value="4"/>
  </properties>
 </tile>
 <tile id="4" type="Jugador 5">
  <properties>
   <property name="jugador" type="int" value="5"/>
  </properties>
 </tile>
 <tile id="5" type="Jugador 6">
  <properties>
   <property name="jugador" type="int" value="6"/>
  </properties>
 </tile>
 <tile id="6" type="Jugador 7">
  <properties>
   <property name="jugador" type="int" value="7"/>
  </properties>
 </tile>
 <tile id="7" type="Jugador 8">
  <properties>
   <property name="jugador" type="int" value="8"/>
  </properties>
 </tile>
</tileset>
