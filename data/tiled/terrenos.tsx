<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="terrenos" tilewidth="25" tileheight="25" tilecount="6" columns="6">
 <image source="terrenos.png" width="150" height="25"/>
 <tile id="0" type="Hierba">
  <properties>
   <property name="nombre" value="Hierba"/>
  </properties>
 </tile>
 <tile id="1" type="Roca">
  <properties>
   <property name="nombre" value="Roca"/>
  </properties>
 </tile>
 <tile id="2" type="Agua">
  <properties>
   <property name="nombre" value="Agua"/>
  </properties>
 </tile>
 <tile id="3" type="Árbol">
  <properties>
   <property name="nombre" value="Árbol"/>
  </properties>
 </tile>
 <tile id="4" type="Parcela de tierra">
  <properties>
   <property name="nombre" value="Parcela de tierra"/>
  </properties>
 </tile>
 <tile id="5" type="Tierra desnuda">
  <properties>
   <property name="nombre" value="Tierra desnuda"/>
  </properties>
 </tile>
</tileset>
