-- MariaDB dump 10.19  Distrib 10.11.6-MariaDB, for debian-linux-gnu (x86_64)
/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;
DROP TABLE IF EXISTS `tovar`;
CREATE TABLE `tovar` (
  `Id` int(11) NOT NULL AUTO_INCREMENT,
  `Nazva` varchar(60) DEFAULT NULL,
  PRIMARY KEY (`Id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
INSERT INTO `tovar` VALUES
(1,'Цукор (пісок)'),
(2,'it\'s \\ (a) ;'),
(3,'line\nbreak');
CREATE TABLE `empty` (
  `Id` int(11) NOT NULL
);
