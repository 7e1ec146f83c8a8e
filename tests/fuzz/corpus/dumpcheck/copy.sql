/*M!999999\- enable the sandbox mode */ 
-- MariaDB dump 10.19  Distrib 10.11.19-MariaDB, for debian-linux-gnu (x86_64)
--
-- Host: localhost    Database: 190400
/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;
/*!40101 SET NAMES utf8mb4 */;
/*!40103 SET @OLD_TIME_ZONE=@@TIME_ZONE */;
/*!40103 SET TIME_ZONE='+00:00' */;
/*!40014 SET @OLD_UNIQUE_CHECKS=@@UNIQUE_CHECKS, UNIQUE_CHECKS=0 */;
/*!40101 SET @OLD_SQL_MODE=@@SQL_MODE, SQL_MODE='NO_AUTO_VALUE_ON_ZERO' */;
/*M!100616 SET @OLD_NOTE_VERBOSITY=@@NOTE_VERBOSITY, NOTE_VERBOSITY=0 */;

--
-- Table structure for table `tovary`
--

DROP TABLE IF EXISTS `tovary`;
/*!40101 SET @saved_cs_client     = @@character_set_client */;
/*!40101 SET character_set_client = utf8mb4 */;
CREATE TABLE `tovary` (
  `Id` int(11) NOT NULL AUTO_INCREMENT,
  `NazvaTovary` varchar(40) DEFAULT NULL,
  `Cina` decimal(10,2) DEFAULT 0.00,
  `Moment` datetime(6) NOT NULL DEFAULT current_timestamp(6),
  PRIMARY KEY (`Id`),
  KEY `tovary_nazva` (`NazvaTovary`)
) ENGINE=InnoDB AUTO_INCREMENT=35 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
/*!40101 SET character_set_client = @saved_cs_client */;

LOCK TABLES `tovary` WRITE;
SET @OLD_AUTOCOMMIT=@@AUTOCOMMIT, @@AUTOCOMMIT=0;
/*!40000 ALTER TABLE `tovary` DISABLE KEYS */;
INSERT INTO `tovary` VALUES
(1,'Кав\'ярня; \\ (1),(2)',-1.5e-7,'2011-05-12 00:00:00.000000'),
(2,'O''Brien -- #',NULL,_binary 'a;b'),
(3,"two\nlines",0x1F,X'0A');
/*!40000 ALTER TABLE `tovary` ENABLE KEYS */;
COMMIT;
UNLOCK TABLES;
SET AUTOCOMMIT=@OLD_AUTOCOMMIT;
/*!40101 SET SQL_MODE=@OLD_SQL_MODE */;
/*!40101 SET CHARACTER_SET_CLIENT=@OLD_CHARACTER_SET_CLIENT */;

-- Dump completed
