SET NAMES utf8mb4;
/*!50003 CREATE*/ /*!50017 DEFINER=`root`@`localhost`*/ /*!50003 TRIGGER t BEFORE INSERT ON tovary FOR EACH ROW SET NEW.Id=1 */;
INSERT INTO `tovary` VALUES (10,'after');
