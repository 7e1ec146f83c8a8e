SET NAMES utf8mb4;
/*!40101 GRANT ALL ON *.* TO kasa */;
INSERT INTO `tovary` VALUES (10,'after');
